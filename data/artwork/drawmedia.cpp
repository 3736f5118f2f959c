// drawmedia: draws every picture of the sample data medium with QPainter, so that the pictures
// can be regenerated at any time from this file alone.
//
//   drawmedia <folder>
//
// writes into <folder>:
//   logo.jpg                      64 x 64   the logo of every page banner
//   dress1.jpg dress2.jpg dress3.jpg  180 x 240  casual, semi-formal and formal attire
//   cd.bmp nocd.bmp               16 x 16   song pictures of the schedule grid (white ground)
//   icons/hd.png icons/cd.png icons/nocd.png  16 x 16  small images of the song lists
//   appicon/feteplan-N.png        N x N     the program's icon, N = 16, 22, 24, 32, 48, 64,
//                                           128, 256 (transparent ground)
//   appicon/feteplan.svg                    the same icon as scalable vector text
//
// The pictures hold no text. Every drawing is done in a fixed logical canvas and scaled to the
// output size, so a size can be changed in one place.

#include <QColor>
#include <QConicalGradient>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <functional>

namespace
{

// The soft palette shared by all pictures.
namespace Palette
{
const QColor ivory{0xFB, 0xF6, 0xEC};
const QColor ivoryDeep{0xF1, 0xE4, 0xCF};
const QColor roseLight{0xF6, 0xDD, 0xDF};
const QColor rose{0xE8, 0xB4, 0xB8};
const QColor roseDeep{0xC9, 0x7B, 0x84};
const QColor gold{0xC9, 0xA2, 0x4A};
const QColor goldLight{0xF0, 0xD9, 0x8C};
const QColor goldDark{0x9A, 0x76, 0x2C};
const QColor navy{0x2C, 0x3E, 0x66};
const QColor navyLight{0x4E, 0x6A, 0x9E};
const QColor skin{0xEC, 0xC6, 0xA4};
const QColor skinShade{0xD6, 0xA7, 0x84};
const QColor hair{0x5A, 0x3E, 0x2B};
const QColor outline{0x4A, 0x3F, 0x3A};
} // namespace Palette

// Logical canvas of the dress pictures; the figure is drawn here and scaled to the output.
constexpr double FigureWidth = 300.0;
constexpr double FigureHeight = 400.0;

QPainterPath mirrored(const QPainterPath& path)
{
    return QTransform(-1, 0, 0, 1, FigureWidth, 0).map(path);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill,
                  const QColor& line = Palette::outline, double width = 1.6)
{
    p.setBrush(fill);
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void strokeOnly(QPainter& p, const QPainterPath& path, const QColor& line, double width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// A vertical gradient brush from a lighter to a darker shade of one colour.
QBrush shaded(const QColor& base, double top, double bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.0, base.lighter(112));
    g.setColorAt(1.0, base.darker(108));
    return g;
}

// ---------------------------------------------------------------------------------------------
// Dress pictures

// What a figure wears; every dress picture fills one of these.
struct Outfit {
    QColor top; // shirt (or jacket, when there is one)
    QColor trousers;
    QColor shoes;
    bool shortSleeves = false;
};

void drawBackdrop(QPainter& p)
{
    QLinearGradient ground(0, 0, 0, FigureHeight);
    ground.setColorAt(0.0, Palette::ivory.lighter(102));
    ground.setColorAt(1.0, Palette::ivoryDeep);
    p.fillRect(QRectF(0, 0, FigureWidth, FigureHeight), ground);

    // A soft rose arch behind the figure, like an alcove.
    QPainterPath arch;
    arch.moveTo(48, 372);
    arch.lineTo(48, 130);
    arch.arcTo(QRectF(48, 28, 204, 204), 180, -180);
    arch.lineTo(252, 372);
    arch.closeSubpath();
    QLinearGradient archFill(0, 28, 0, 372);
    archFill.setColorAt(0.0, Palette::roseLight);
    archFill.setColorAt(1.0, Palette::roseLight.lighter(104));
    p.setPen(QPen(Palette::rose, 2.0));
    p.setBrush(archFill);
    p.drawPath(arch);

    // Floor line and the figure's shadow.
    p.setPen(QPen(Palette::gold, 2.0));
    p.drawLine(QPointF(30, 372), QPointF(270, 372));
    QRadialGradient shadow(QPointF(150, 370), 80);
    shadow.setColorAt(0.0, QColor(60, 40, 30, 70));
    shadow.setColorAt(1.0, QColor(60, 40, 30, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(150, 370), 80, 9);

    // Thin gold frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::gold, 3.0));
    p.drawRoundedRect(QRectF(6, 6, FigureWidth - 12, FigureHeight - 12), 14, 14);
}

QPainterPath torsoPath(double hem)
{
    QPainterPath torso;
    torso.moveTo(136, 101);
    torso.cubicTo(116, 103, 100, 108, 93, 124);
    torso.lineTo(104, 162);
    torso.lineTo(108, hem);
    torso.quadTo(150, hem + 4, 192, hem);
    torso.lineTo(196, 162);
    torso.lineTo(207, 124);
    torso.cubicTo(200, 108, 184, 103, 164, 101);
    torso.closeSubpath();
    return torso;
}

// The wearer's right arm (on the viewer's left), from shoulder to wrist.
QPainterPath armPath()
{
    QPainterPath arm;
    arm.moveTo(100, 112);
    arm.cubicTo(84, 118, 80, 140, 80, 172);
    arm.lineTo(78, 240);
    arm.lineTo(99, 241);
    arm.lineTo(103, 176);
    arm.lineTo(110, 150);
    arm.closeSubpath();
    return arm;
}

QPainterPath trousersPath()
{
    QPainterPath legs;
    legs.moveTo(111, 218);
    legs.lineTo(189, 218);
    legs.lineTo(193, 360);
    legs.lineTo(155, 360);
    legs.lineTo(150, 258);
    legs.lineTo(145, 360);
    legs.lineTo(107, 360);
    legs.closeSubpath();
    return legs;
}

QPainterPath shoePath()
{
    QPainterPath shoe;
    shoe.moveTo(108, 356);
    shoe.lineTo(145, 356);
    shoe.lineTo(146, 368);
    shoe.quadTo(146, 372, 140, 372);
    shoe.lineTo(100, 372);
    shoe.quadTo(94, 372, 96, 366);
    shoe.quadTo(99, 359, 108, 356);
    shoe.closeSubpath();
    return shoe;
}

void drawTrousersAndShoes(QPainter& p, const Outfit& outfit)
{
    fillOutlined(p, trousersPath(), shaded(outfit.trousers, 218, 360));
    // Creases down the front of each leg.
    p.setPen(QPen(outfit.trousers.darker(125), 1.2));
    p.drawLine(QPointF(127, 268), QPointF(126, 356));
    p.drawLine(QPointF(173, 268), QPointF(174, 356));

    const QPainterPath shoe = shoePath();
    QLinearGradient shine(0, 356, 0, 372);
    shine.setColorAt(0.0, outfit.shoes.lighter(150));
    shine.setColorAt(0.45, outfit.shoes);
    shine.setColorAt(1.0, outfit.shoes.darker(130));
    fillOutlined(p, shoe, shine);
    fillOutlined(p, mirrored(shoe), shine);
}

void drawHeadAndNeck(QPainter& p)
{
    // Neck, drawn before the clothing so that collars lie over it.
    fillOutlined(p, polygonPath({{140, 78}, {160, 78}, {161, 110}, {139, 110}}),
                 shaded(Palette::skin, 78, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::skinShade);
    p.drawRect(QRectF(141, 80, 18, 7));
}

void drawHead(QPainter& p)
{
    // Ears.
    fillOutlined(
        p,
        [] {
            QPainterPath ears;
            ears.addEllipse(QPointF(126.5, 62), 4.5, 7.5);
            ears.addEllipse(QPointF(173.5, 62), 4.5, 7.5);
            return ears;
        }(),
        Palette::skin);

    QPainterPath head;
    head.addEllipse(QPointF(150, 58), 23, 28);
    QRadialGradient face(QPointF(144, 52), 32);
    face.setColorAt(0.0, Palette::skin.lighter(106));
    face.setColorAt(1.0, Palette::skin.darker(104));
    fillOutlined(p, head, face);

    // Short hair with a side parting.
    QPainterPath hairCut;
    hairCut.moveTo(127, 64);
    hairCut.cubicTo(121, 34, 140, 26, 152, 27);
    hairCut.cubicTo(168, 27, 180, 38, 174, 64);
    hairCut.cubicTo(172, 52, 168, 45, 160, 42);
    hairCut.cubicTo(150, 46, 138, 44, 134, 42);
    hairCut.cubicTo(130, 48, 128, 54, 127, 64);
    hairCut.closeSubpath();
    QLinearGradient hairShine(130, 28, 170, 60);
    hairShine.setColorAt(0.0, Palette::hair.lighter(135));
    hairShine.setColorAt(1.0, Palette::hair);
    fillOutlined(p, hairCut, hairShine, Palette::hair.darker(140), 1.2);
    strokeOnly(
        p,
        [] {
            QPainterPath parting;
            parting.moveTo(138, 31);
            parting.quadTo(139, 37, 136, 43);
            return parting;
        }(),
        Palette::hair.darker(150), 1.2);
}

void drawHands(QPainter& p)
{
    QPainterPath hands;
    hands.addEllipse(QPointF(88.5, 251), 10, 13);
    hands.addEllipse(QPointF(211.5, 251), 10, 13);
    fillOutlined(p, hands, shaded(Palette::skin, 238, 264));
}

// Both sleeves of a jacket or long-sleeved shirt, with a cuff of shirt showing at the wrist.
void drawLongSleeves(QPainter& p, const QColor& sleeve, const QColor& cuff)
{
    QPainterPath cuffs = polygonPath({{79, 230}, {100, 231}, {99.5, 241}, {78, 240}});
    cuffs.addPath(mirrored(cuffs));
    fillOutlined(p, cuffs, cuff);
    QPainterPath arms = armPath().intersected(QPainterPath([] {
        QPainterPath r;
        r.addRect(QRectF(60, 100, 60, 134));
        return r;
    }()));
    arms.addPath(mirrored(arms));
    // On dark cloth a lighter edge keeps the arms apart from the body.
    const QColor edge = sleeve.lightness() < 60 ? sleeve.lighter(240) : Palette::outline;
    fillOutlined(p, arms, shaded(sleeve, 110, 234), edge);
}

void drawFigure(QPainter& p, const Outfit& outfit, const std::function<void(QPainter&)>& dressTop)
{
    drawTrousersAndShoes(p, outfit);
    drawHeadAndNeck(p);
    if (outfit.shortSleeves) {
        QPainterPath arms = armPath();
        arms.addPath(mirrored(arms));
        fillOutlined(p, arms, shaded(Palette::skin, 110, 240));
    }
    dressTop(p);
    drawHands(p);
    drawHead(p);
}

void drawCasual(QPainter& p)
{
    const Outfit outfit{QColor(0xD9, 0x8E, 0x96), QColor(0xCD, 0xB4, 0x8A),
                        QColor(0x7A, 0x4E, 0x2D), true};
    drawFigure(p, outfit, [&](QPainter& p) {
        // Polo shirt worn loose over the chinos.
        fillOutlined(p, torsoPath(240), shaded(outfit.top, 100, 240));
        QPainterPath sleeves = armPath().intersected([] {
            QPainterPath r;
            r.addRect(QRectF(60, 100, 60, 68));
            return r;
        }());
        sleeves.addPath(mirrored(sleeves));
        fillOutlined(p, sleeves, shaded(outfit.top, 100, 168));
        // Ribbed sleeve bands.
        p.setPen(QPen(outfit.top.darker(125), 1.4));
        p.drawLine(QPointF(81, 162), QPointF(104.5, 162));
        p.drawLine(QPointF(219, 162), QPointF(195.5, 162));
        // Button placket with two buttons.
        fillOutlined(p, polygonPath({{145, 104}, {155, 104}, {155, 150}, {145, 150}}),
                     outfit.top.lighter(106), outfit.top.darker(130), 1.2);
        p.setPen(QPen(outfit.top.darker(140), 0.8));
        p.setBrush(Palette::ivory);
        p.drawEllipse(QPointF(150, 124), 2.6, 2.6);
        p.drawEllipse(QPointF(150, 140), 2.6, 2.6);
        // Soft polo collar lying flat on the shoulders.
        const QPainterPath collar =
            polygonPath({{137, 99}, {151, 110}, {150, 116}, {133, 124}, {127, 106}});
        fillOutlined(p, collar, outfit.top.lighter(108), outfit.top.darker(140), 1.3);
        fillOutlined(p, mirrored(collar), outfit.top.lighter(108), outfit.top.darker(140), 1.3);
    });
}

// A tailored jacket: the torso with a V opening down to the buttoning point and a cutaway
// below it; lapels lie along the V.
void drawJacket(QPainter& p, const QColor& cloth, const QColor& lapelCloth, double buttonY,
                const QColor& shirt)
{
    // The shirt front visible in the V, tucked in at the waist.
    fillOutlined(p, torsoPath(221), shaded(shirt, 100, 221));

    QPainterPath jacket = torsoPath(256);
    jacket = jacket.subtracted(polygonPath({{134, 96}, {166, 96}, {150, buttonY}}));
    jacket = jacket.subtracted(polygonPath({{150, buttonY + 14}, {170, 262}, {130, 262}}));
    fillOutlined(p, jacket, shaded(cloth, 100, 256));

    // Centre front where the panels overlap.
    p.setPen(QPen(cloth.darker(150), 1.2));
    p.drawLine(QPointF(150, buttonY), QPointF(150, buttonY + 14));

    // Notched lapels.
    const QPainterPath lapel = polygonPath({{136, 101},
                                            {150, buttonY},
                                            {139, buttonY - 30},
                                            {125, 136},
                                            {131, 128},
                                            {124, 124},
                                            {128, 108}});
    fillOutlined(p, lapel, shaded(lapelCloth, 100, buttonY), cloth.darker(170), 1.3);
    fillOutlined(p, mirrored(lapel), shaded(lapelCloth, 100, buttonY), cloth.darker(170), 1.3);

    // Hip pocket flaps and the breast pocket.
    p.setPen(QPen(cloth.darker(160), 1.4));
    p.drawLine(QPointF(113, 226), QPointF(136, 227));
    p.drawLine(QPointF(187, 226), QPointF(164, 227));
    p.drawLine(QPointF(166, 150), QPointF(186, 149));
}

void drawSemiFormal(QPainter& p)
{
    const QColor shirt(0xCF, 0xE0, 0xF0);
    const Outfit outfit{Palette::navy, QColor(0x8E, 0x93, 0x9C), QColor(0x6B, 0x43, 0x26), false};
    drawFigure(p, outfit, [&](QPainter& p) {
        drawJacket(p, Palette::navy, Palette::navyLight.darker(115), 190, shirt);
        // Open neck: no tie, the top button undone.
        fillOutlined(p, polygonPath({{143, 103}, {157, 103}, {150, 122}}),
                     shaded(Palette::skin, 103, 122), Palette::skinShade.darker(115), 1.0);
        // Shirt collar points spread over the lapels.
        const QPainterPath collar = polygonPath({{138, 97}, {150, 122}, {140, 126}, {131, 108}});
        fillOutlined(p, collar, shirt.lighter(104), shirt.darker(140), 1.2);
        fillOutlined(p, mirrored(collar), shirt.lighter(104), shirt.darker(140), 1.2);
        // Shirt buttons in the V.
        p.setPen(QPen(shirt.darker(150), 0.8));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(150, 140), 2.0, 2.0);
        p.drawEllipse(QPointF(150, 162), 2.0, 2.0);
        // Rose pocket square.
        fillOutlined(p, polygonPath({{168, 149}, {173, 139}, {177, 146}, {182, 137}, {185, 149}}),
                     Palette::rose, Palette::roseDeep, 1.0);
        drawLongSleeves(p, Palette::navy, shirt);
        // Brass buttons.
        p.setPen(QPen(Palette::goldDark, 1.0));
        p.setBrush(Palette::goldLight);
        p.drawEllipse(QPointF(154, 197), 3.4, 3.4);
        p.drawEllipse(QPointF(154, 219), 3.4, 3.4);
        p.drawEllipse(QPointF(92, 226), 1.8, 1.8);
        p.drawEllipse(QPointF(208, 226), 1.8, 1.8);
    });
}

void drawFormal(QPainter& p)
{
    const QColor black(0x23, 0x26, 0x30);
    const QColor satin(0x3C, 0x41, 0x52);
    const QColor shirt(0xFC, 0xFB, 0xF7);
    const Outfit outfit{black, black, QColor(0x1A, 0x1A, 0x1E), false};
    drawFigure(p, outfit, [&](QPainter& p) {
        drawJacket(p, black, satin, 204, shirt);
        // Satin stripe down the outside of each trouser leg shows below the jacket.
        p.setPen(QPen(satin.lighter(140), 2.0));
        p.drawLine(QPointF(110, 262), QPointF(108.5, 356));
        p.drawLine(QPointF(190, 262), QPointF(191.5, 356));
        // Wing collar and bow tie.
        const QPainterPath collar = polygonPath({{139, 98}, {149, 108}, {141, 112}});
        fillOutlined(p, collar, shirt, QColor(0xB8, 0xB8, 0xB0), 1.0);
        fillOutlined(p, mirrored(collar), shirt, QColor(0xB8, 0xB8, 0xB0), 1.0);
        const QPainterPath bow = polygonPath({{150, 110}, {134, 102}, {131, 110}, {134, 118}});
        fillOutlined(p, bow, shaded(black, 102, 118), QColor(0x10, 0x10, 0x14), 1.0);
        fillOutlined(p, mirrored(bow), shaded(black, 102, 118), QColor(0x10, 0x10, 0x14), 1.0);
        p.setPen(Qt::NoPen);
        p.setBrush(satin);
        p.drawRoundedRect(QRectF(146, 106, 8, 8), 2, 2);
        // Pleated shirt front with studs.
        p.setPen(QPen(QColor(0xDD, 0xDB, 0xD2), 1.0));
        for (double x : {144.0, 156.0})
            p.drawLine(QPointF(x, 124), QPointF(x + (x < 150 ? 2 : -2), 192));
        p.setPen(Qt::NoPen);
        p.setBrush(black);
        for (double y : {134.0, 152.0, 170.0})
            p.drawEllipse(QPointF(150, y), 1.9, 1.9);
        // White pocket square and a rose boutonniere on the lapel.
        fillOutlined(p, polygonPath({{168, 149}, {172, 141}, {177, 145}, {182, 140}, {185, 149}}),
                     shirt, QColor(0xB8, 0xB8, 0xB0), 1.0);
        fillOutlined(p, polygonPath({{166, 134}, {176, 128}, {172, 137}}), QColor(0x6E, 0x9B, 0x6A),
                     QColor(0x45, 0x6B, 0x42), 0.8);
        QRadialGradient bloom(QPointF(163, 128), 6);
        bloom.setColorAt(0.0, Palette::roseDeep.darker(115));
        bloom.setColorAt(1.0, Palette::rose);
        QPainterPath flower;
        flower.addEllipse(QPointF(164, 129), 5.5, 5.5);
        fillOutlined(p, flower, bloom, Palette::roseDeep.darker(140), 0.9);
        strokeOnly(
            p,
            [] {
                QPainterPath swirl;
                swirl.moveTo(161.5, 129);
                swirl.cubicTo(161.5, 126, 166.5, 126, 166.5, 129.5);
                swirl.cubicTo(166.5, 132, 163, 132, 163, 130);
                return swirl;
            }(),
            Palette::roseDeep.darker(150), 0.8);
        drawLongSleeves(p, black, shirt);
        // One satin-covered button.
        p.setPen(QPen(QColor(0x10, 0x10, 0x14), 1.0));
        p.setBrush(satin.lighter(130));
        p.drawEllipse(QPointF(152, 211), 3.4, 3.4);
    });
}

QImage drawDress(int width, int height, void (*figure)(QPainter&))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Palette::ivory);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / FigureWidth, height / FigureHeight);
    drawBackdrop(p);
    figure(p);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Logo: two interlocking wedding rings below a pair of beamed notes, on a rose badge.

void drawRing(QPainter& p, QPointF centre, double radius)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::goldDark, 6.4));
    p.drawEllipse(centre, radius, radius);
    QConicalGradient metal(centre, 45);
    metal.setColorAt(0.0, Palette::goldLight);
    metal.setColorAt(0.25, Palette::gold);
    metal.setColorAt(0.5, Palette::goldLight);
    metal.setColorAt(0.75, Palette::gold);
    metal.setColorAt(1.0, Palette::goldLight);
    p.setPen(QPen(QBrush(metal), 3.8));
    p.drawEllipse(centre, radius, radius);
}

QImage drawLogo(int size)
{
    constexpr double Canvas = 100.0;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Canvas, size / Canvas);

    QRadialGradient badge(QPointF(42, 38), 60);
    badge.setColorAt(0.0, Palette::ivory);
    badge.setColorAt(1.0, Palette::rose);
    p.setPen(QPen(Palette::gold, 3.0));
    p.setBrush(badge);
    p.drawEllipse(QPointF(50, 50), 46.5, 46.5);

    // The rings interlock: the right ring passes over the left one at the top crossing and
    // under it at the bottom crossing.
    const QPointF left(40, 63), right(60, 63);
    constexpr double radius = 15.5;
    drawRing(p, left, radius);
    drawRing(p, right, radius);
    const double dy = std::sqrt(radius * radius - 10.0 * 10.0);
    p.save();
    QPainterPath bottomCrossing;
    bottomCrossing.addEllipse(QPointF(50, 63 + dy), 5.5, 5.5);
    p.setClipPath(bottomCrossing);
    drawRing(p, left, radius);
    p.restore();

    // Two beamed eighth notes in navy.
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::navy);
    for (const QPointF head : {QPointF(37, 37), QPointF(61, 33)}) {
        p.save();
        p.translate(head);
        p.rotate(-22);
        p.drawEllipse(QPointF(0, 0), 6.2, 4.4);
        p.restore();
    }
    p.drawRect(QRectF(41.2, 15, 2.6, 21));
    p.drawRect(QRectF(65.2, 11, 2.6, 21));
    QPainterPath beam = polygonPath({{41.2, 14.5}, {67.8, 10.0}, {67.8, 16.0}, {41.2, 20.5}});
    p.drawPath(beam);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Small song images, 16 x 16, drawn on a transparent ground.

constexpr int IconSize = 16;

QImage blankIcon()
{
    QImage image(IconSize, IconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawDisc(QPainter& p)
{
    const QPointF centre(8, 8);
    QConicalGradient sheen(centre, 30);
    sheen.setColorAt(0.00, QColor(0xE4, 0xE7, 0xEC));
    sheen.setColorAt(0.12, QColor(0xF4, 0xC6, 0xD4));
    sheen.setColorAt(0.25, QColor(0xDA, 0xDE, 0xE5));
    sheen.setColorAt(0.40, QColor(0xC4, 0xDA, 0xF2));
    sheen.setColorAt(0.55, QColor(0xE8, 0xEA, 0xEE));
    sheen.setColorAt(0.68, QColor(0xF5, 0xE7, 0xB0));
    sheen.setColorAt(0.82, QColor(0xD4, 0xD8, 0xDF));
    sheen.setColorAt(1.00, QColor(0xE4, 0xE7, 0xEC));
    p.setPen(QPen(QColor(0x5F, 0x66, 0x73), 1.0));
    p.setBrush(sheen);
    p.drawEllipse(centre, 7.0, 7.0);
    // Clear centre hub.
    p.setPen(QPen(QColor(0x8E, 0x95, 0xA2), 0.9));
    p.setBrush(QColor(0xF6, 0xF7, 0xF9));
    p.drawEllipse(centre, 2.9, 2.9);
    // The hole goes right through.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, 1.25, 1.25);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QImage drawCdIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawDisc(p);
    p.end();
    return image;
}

QImage drawNoCdIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawDisc(p);
    // A red cross over the disc, with a light halo so that it reads on the silver.
    const QLineF strokes[] = {{3.5, 3.5, 12.5, 12.5}, {12.5, 3.5, 3.5, 12.5}};
    p.setPen(QPen(QColor(255, 255, 255, 170), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(strokes, 2);
    p.setPen(QPen(QColor(0xD0, 0x24, 0x24), 1.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLines(strokes, 2);
    p.end();
    return image;
}

QImage drawHdIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(0x4B, 0x53, 0x61);
    // Monitor case.
    QLinearGradient casing(0, 1, 0, 12);
    casing.setColorAt(0.0, QColor(0xF2, 0xF3, 0xF5));
    casing.setColorAt(1.0, QColor(0xC8, 0xCD, 0xD5));
    p.setPen(QPen(edge, 1.0));
    p.setBrush(casing);
    p.drawRoundedRect(QRectF(0.5, 1.5, 15, 10), 1.5, 1.5);
    // Screen.
    QLinearGradient screen(2, 3, 14, 10);
    screen.setColorAt(0.0, Palette::navyLight);
    screen.setColorAt(1.0, Palette::navy);
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRect(QRectF(2, 3, 12, 7));
    // A small gold note on the screen: the song is on this computer.
    p.setBrush(Palette::goldLight);
    p.drawEllipse(QPointF(7.2, 8.0), 1.5, 1.15);
    p.drawRect(QRectF(8.1, 4.0, 0.9, 4.0));
    p.drawRect(QRectF(8.1, 4.0, 2.2, 0.9));
    // Stand and foot.
    p.setBrush(QColor(0x9A, 0xA1, 0xAD));
    p.drawRect(QRectF(6.5, 11.5, 3, 2));
    p.setPen(QPen(edge, 1.0));
    p.setBrush(QColor(0xC8, 0xCD, 0xD5));
    p.drawRoundedRect(QRectF(3.5, 13.5, 9, 2), 0.8, 0.8);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// The program's icon: the logo's two interlocking rings under a pair of beamed notes on the
// rose badge, with bolder strokes so that it still reads at 16 pixels, on a transparent
// ground. The same shapes are painted into the PNG sizes and written out as SVG text, so the
// scalable icon and the bitmaps agree.

namespace AppIcon
{
constexpr double Canvas = 100.0;
const QPointF badgeCentre(50, 50);
constexpr double badgeRadius = 46.0;
constexpr double badgeEdge = 4.0;
const QPointF badgeLight(40, 34); // the radial gradient's centre, radius 64
constexpr double badgeLightRadius = 64.0;
const QPointF leftRing(38.5, 62), rightRing(61.5, 62);
constexpr double ringRadius = 17.0;
constexpr double ringEdge = 9.0;  // the dark rim under the metal
constexpr double ringMetal = 5.6; // the gold band
constexpr double crossingRadius = 7.0;
const QPointF noteHeads[2] = {QPointF(37, 37), QPointF(61, 33)};
constexpr double noteRx = 7.0, noteRy = 5.0, noteTilt = -22.0;
const QRectF stems[2] = {QRectF(41.6, 13, 3.6, 24), QRectF(65.6, 9, 3.6, 24)};
const QPointF beam[4] = {{41.6, 12.5}, {69.2, 7.8}, {69.2, 14.8}, {41.6, 19.5}};

// Where the right ring passes under the left one: the lower crossing of the two circles.
QPointF lowerCrossing()
{
    const double half = (rightRing.x() - leftRing.x()) / 2;
    return {leftRing.x() + half, leftRing.y() + std::sqrt(ringRadius * ringRadius - half * half)};
}

QLinearGradient ringMetalGradient(QPointF centre)
{
    QLinearGradient metal(centre - QPointF(ringRadius, ringRadius),
                          centre + QPointF(ringRadius, ringRadius));
    metal.setColorAt(0.0, Palette::goldLight);
    metal.setColorAt(0.5, Palette::gold);
    metal.setColorAt(1.0, Palette::goldLight);
    return metal;
}

void paintRing(QPainter& p, QPointF centre)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::goldDark, ringEdge));
    p.drawEllipse(centre, ringRadius, ringRadius);
    p.setPen(QPen(QBrush(ringMetalGradient(centre)), ringMetal));
    p.drawEllipse(centre, ringRadius, ringRadius);
}

QImage draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Canvas, size / Canvas);
    QRadialGradient light(badgeLight, badgeLightRadius);
    light.setColorAt(0.0, Palette::ivory);
    light.setColorAt(1.0, Palette::rose);
    p.setPen(QPen(Palette::gold, badgeEdge));
    p.setBrush(light);
    p.drawEllipse(badgeCentre, badgeRadius, badgeRadius);
    paintRing(p, rightRing);
    paintRing(p, leftRing);
    p.save();
    QPainterPath under;
    under.addEllipse(lowerCrossing(), crossingRadius, crossingRadius);
    p.setClipPath(under);
    paintRing(p, rightRing);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::navy);
    for (const QPointF head : noteHeads) {
        p.save();
        p.translate(head);
        p.rotate(noteTilt);
        p.drawEllipse(QPointF(0, 0), noteRx, noteRy);
        p.restore();
    }
    for (const QRectF& stem : stems)
        p.drawRect(stem);
    p.drawPolygon(beam, 4);
    p.end();
    return image;
}

QString n(double value)
{
    return QString::number(value, 'g', 6);
}

QString colour(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

QString svgRing(QPointF centre, const QString& gradient)
{
    return QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" stroke=\"%4\" "
                          "stroke-width=\"%5\"/>\n"
                          "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" "
                          "stroke=\"url(#%6)\" stroke-width=\"%7\"/>\n")
        .arg(n(centre.x()), n(centre.y()), n(ringRadius), colour(Palette::goldDark), n(ringEdge),
             gradient, n(ringMetal));
}

QString svgRingGradient(const QString& id, QPointF centre)
{
    const QLinearGradient g = ringMetalGradient(centre);
    QString text = QStringLiteral("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                                  "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                       .arg(id, n(g.start().x()), n(g.start().y()), n(g.finalStop().x()),
                            n(g.finalStop().y()));
    for (const auto& [at, c] : g.stops())
        text +=
            QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"/>\n").arg(n(at), colour(c));
    return text + QStringLiteral("    </linearGradient>\n");
}

QString svg()
{
    const QPointF crossing = lowerCrossing();
    QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                       "viewBox=\"0 0 %1 %1\">\n  <defs>\n"
                       "    <radialGradient id=\"badge\" gradientUnits=\"userSpaceOnUse\" "
                       "cx=\"%2\" cy=\"%3\" r=\"%4\">\n"
                       "      <stop offset=\"0\" stop-color=\"%5\"/>\n"
                       "      <stop offset=\"1\" stop-color=\"%6\"/>\n"
                       "    </radialGradient>\n")
            .arg(n(Canvas), n(badgeLight.x()), n(badgeLight.y()), n(badgeLightRadius),
                 colour(Palette::ivory), colour(Palette::rose));
    text += svgRingGradient(QStringLiteral("metalLeft"), leftRing);
    text += svgRingGradient(QStringLiteral("metalRight"), rightRing);
    text += QStringLiteral("    <clipPath id=\"under\"><circle cx=\"%1\" cy=\"%2\" r=\"%3\"/>"
                           "</clipPath>\n  </defs>\n")
                .arg(n(crossing.x()), n(crossing.y()), n(crossingRadius));
    text += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"url(#badge)\" "
                           "stroke=\"%4\" stroke-width=\"%5\"/>\n")
                .arg(n(badgeCentre.x()), n(badgeCentre.y()), n(badgeRadius), colour(Palette::gold),
                     n(badgeEdge));
    text += svgRing(rightRing, QStringLiteral("metalRight"));
    text += svgRing(leftRing, QStringLiteral("metalLeft"));
    text += QStringLiteral("  <g clip-path=\"url(#under)\">\n") +
            svgRing(rightRing, QStringLiteral("metalRight")) + QStringLiteral("  </g>\n");
    text += QStringLiteral("  <g fill=\"%1\">\n").arg(colour(Palette::navy));
    for (const QPointF head : noteHeads)
        text += QStringLiteral("    <ellipse transform=\"translate(%1 %2) rotate(%3)\" "
                               "rx=\"%4\" ry=\"%5\"/>\n")
                    .arg(n(head.x()), n(head.y()), n(noteTilt), n(noteRx), n(noteRy));
    for (const QRectF& stem : stems)
        text += QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>\n")
                    .arg(n(stem.x()), n(stem.y()), n(stem.width()), n(stem.height()));
    QStringList points;
    for (const QPointF& point : beam)
        points << n(point.x()) + QLatin1Char(',') + n(point.y());
    text += QStringLiteral("    <polygon points=\"%1\"/>\n  </g>\n</svg>\n")
                .arg(points.join(QLatin1Char(' ')));
    return text;
}
} // namespace AppIcon

// The schedule grid shows its song pictures on a white cell, as true-colour bitmaps.
QImage onWhite(const QImage& icon)
{
    QImage image(icon.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawImage(0, 0, icon);
    p.end();
    return image;
}

bool save(const QImage& image, const QDir& folder, const QString& name, const char* format,
          int quality = -1)
{
    const QString path = folder.filePath(name);
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "drawmedia: cannot write %s\n", qPrintable(path));
        return false;
    }
    // Read the file back, as the wizard will, to be sure it loads at the size drawn.
    const QImage reread(path);
    if (reread.isNull() || reread.size() != image.size()) {
        std::fprintf(stderr, "drawmedia: %s does not load back\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(name), image.width(), image.height());
    return true;
}

bool saveText(const QString& text, const QDir& folder, const QString& name)
{
    QSaveFile file(folder.filePath(name));
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "drawmedia: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    std::printf("%s %lld bytes\n", qPrintable(name), static_cast<long long>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing is shown; drawing on images needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: drawmedia <folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("icons")) || !folder.mkpath(QStringLiteral("appicon"))) {
        std::fprintf(stderr, "drawmedia: cannot create %s/icons and %s/appicon\n", argv[1],
                     argv[1]);
        return 1;
    }

    constexpr int JpegQuality = 92;
    constexpr int DressWidth = 180;
    constexpr int DressHeight = 240;
    const QImage cd = drawCdIcon();
    const QImage noCd = drawNoCdIcon();

    bool ok = save(drawLogo(64), folder, QStringLiteral("logo.jpg"), "JPG", JpegQuality);
    ok &= save(drawDress(DressWidth, DressHeight, drawCasual), folder, QStringLiteral("dress1.jpg"),
               "JPG", JpegQuality);
    ok &= save(drawDress(DressWidth, DressHeight, drawSemiFormal), folder,
               QStringLiteral("dress2.jpg"), "JPG", JpegQuality);
    ok &= save(drawDress(DressWidth, DressHeight, drawFormal), folder, QStringLiteral("dress3.jpg"),
               "JPG", JpegQuality);
    ok &= save(onWhite(cd), folder, QStringLiteral("cd.bmp"), "BMP");
    ok &= save(onWhite(noCd), folder, QStringLiteral("nocd.bmp"), "BMP");
    ok &= save(drawHdIcon(), folder, QStringLiteral("icons/hd.png"), "PNG");
    ok &= save(cd, folder, QStringLiteral("icons/cd.png"), "PNG");
    ok &= save(noCd, folder, QStringLiteral("icons/nocd.png"), "PNG");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        ok &= save(AppIcon::draw(size), folder, QStringLiteral("appicon/feteplan-%1.png").arg(size),
                   "PNG");
    ok &= saveText(AppIcon::svg(), folder, QStringLiteral("appicon/feteplan.svg"));
    return ok ? 0 : 1;
}
