#include "SummaryLabel.h"

#include <QLabel>

void SummaryLabel::show(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleDescription(
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}
