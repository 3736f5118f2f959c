#pragma once

#include <QTextBrowser>

// A text browser that lays its text out a few pixels narrower than its viewport, so that a
// document of full-width tables never shows a sideways scroll bar. Qt's table layout rounds
// each column that takes the room left over to whole pixels, and so makes a table at 100%
// width up to a pixel per few columns wider than the text: at many window widths the text
// browser would offer to scroll sideways by that pixel. Content that really is wider than the
// viewport (a table whose columns cannot shrink further) still gets its scroll bar.
class FittedTextBrowser : public QTextBrowser
{
    Q_OBJECT
  public:
    explicit FittedTextBrowser(QWidget* parent = nullptr);

    // How much narrower than the viewport the text is laid out, in pixels.
    static constexpr int kSlack = 4;

  protected:
    void resizeEvent(QResizeEvent* event) override;
};
