#include "CardPainter.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace CardPainter {
namespace {

enum class Suit { Herz, Karo, Kreuz, Schippe };
enum class Rank { Koenig, Dame, Bube, Ass, Zehn, Neun, Acht, Sieben };

const QColor Red(0xc4, 0x12, 0x2c);
const QColor Black(0x1c, 0x1c, 0x22);
const QColor Gold(0xe3, 0xb0, 0x3a);
const QColor GoldDark(0x9a, 0x6e, 0x12);
const QColor CourtBlue(0x2a, 0x4f, 0x9e);
const QColor Flesh(0xf6, 0xd8, 0xb8);
const QColor Ink(0x2a, 0x22, 0x1c);
const QColor Cream(0xfc, 0xf8, 0xee);
const QColor CardEdge(0x6a, 0x6a, 0x70);
const QColor BackBlue(0x1d, 0x4a, 0xa2);
const QColor BackLine(0x74, 0x9a, 0xdc);
const QColor Felt(0x24, 0x6e, 0x3e);
const QColor PaleYellow(0xfb, 0xf3, 0xc4);

const QRectF BoxRect(0, 0, BoxWidth, BoxHeight);
const QRectF FaceRect(1.5, 1.5, BoxWidth - 3, BoxHeight - 3);
constexpr double FaceRadius = 7.0;

QColor suitColour(Suit suit) {
    return (suit == Suit::Herz || suit == Suit::Karo) ? Red : Black;
}

// ---- Suit symbols, each in a unit box centred on the origin, pointing up

QPainterPath heartPath() {
    QPainterPath p;
    p.moveTo(0, 0.5);
    p.cubicTo(-0.12, 0.32, -0.5, 0.08, -0.5, -0.2);
    p.cubicTo(-0.5, -0.39, -0.37, -0.5, -0.25, -0.5);
    p.cubicTo(-0.12, -0.5, -0.03, -0.41, 0, -0.3);
    p.cubicTo(0.03, -0.41, 0.12, -0.5, 0.25, -0.5);
    p.cubicTo(0.37, -0.5, 0.5, -0.39, 0.5, -0.2);
    p.cubicTo(0.5, 0.08, 0.12, 0.32, 0, 0.5);
    p.closeSubpath();
    return p;
}

QPainterPath diamondPath() {
    // Slightly hollow sides, as printed diamonds have.
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.17, -0.2, 0.38, 0);
    p.quadTo(0.17, 0.2, 0, 0.5);
    p.quadTo(-0.17, 0.2, -0.38, 0);
    p.quadTo(-0.17, -0.2, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath clubPath() {
    const double r = 0.235;
    QPainterPath top, left, right, middle, stem;
    top.addEllipse(QPointF(0, -0.25), r, r);
    left.addEllipse(QPointF(-0.265, 0.07), r, r);
    right.addEllipse(QPointF(0.265, 0.07), r, r);
    middle.addEllipse(QPointF(0, 0.0), 0.13, 0.13);
    stem.moveTo(-0.05, 0.05);
    stem.quadTo(-0.06, 0.38, -0.21, 0.5);
    stem.lineTo(0.21, 0.5);
    stem.quadTo(0.06, 0.38, 0.05, 0.05);
    stem.closeSubpath();
    return top.united(left).united(right).united(middle).united(stem);
}

QPainterPath spadePath() {
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.cubicTo(0.1, -0.33, 0.5, -0.13, 0.5, 0.12);
    p.cubicTo(0.5, 0.29, 0.37, 0.38, 0.25, 0.38);
    p.cubicTo(0.14, 0.38, 0.07, 0.33, 0.04, 0.26);
    p.quadTo(0.06, 0.42, 0.21, 0.5);
    p.lineTo(-0.21, 0.5);
    p.quadTo(-0.06, 0.42, -0.04, 0.26);
    p.cubicTo(-0.07, 0.33, -0.14, 0.38, -0.25, 0.38);
    p.cubicTo(-0.37, 0.38, -0.5, 0.29, -0.5, 0.12);
    p.cubicTo(-0.5, -0.13, -0.1, -0.33, 0, -0.5);
    p.closeSubpath();
    return p;
}

const QPainterPath& suitPath(Suit suit) {
    static const std::array<QPainterPath, 4> paths = {heartPath(), diamondPath(), clubPath(),
                                                      spadePath()};
    return paths[static_cast<int>(suit)];
}

// A pip of the given height; turned pips are the ones a player sees upright from the other end.
void drawPip(QPainter& p, Suit suit, QPointF centre, double height, bool turned = false) {
    p.save();
    p.translate(centre);
    if (turned)
        p.rotate(180);
    p.scale(height, height);
    p.fillPath(suitPath(suit), suitColour(suit));
    p.restore();
}

// ---- Text

// The face font is loaded from its file where it can be, so the letters do not depend on which
// fonts fontconfig would substitute.
QString faceFamily() {
    static const QString family = [] {
        const char* const candidates[] = {
            "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
            "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
        };
        for (const char* file : candidates) {
            if (!QFile::exists(QString::fromLatin1(file)))
                continue;
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty())
                return families.first();
        }
        return QStringLiteral("DejaVu Sans");
    }();
    return family;
}

// Text as an outline, centred on a point, squeezed to a maximum width (for "10").
QPainterPath textPath(const QString& text, double height, QPointF centre, double maxWidth) {
    QFont font(faceFamily());
    font.setBold(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath raw;
    raw.addText(0, 0, font, text);
    const QRectF bounds = raw.boundingRect();
    const double sy = height / bounds.height();
    const double sx = std::min(sy, maxWidth / bounds.width());
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(sx, sy);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(raw);
}

// ---- Backgrounds and card blanks

// A fixed-seed speckle, so the felt looks like cloth and the files stay the same on every run.
const QImage& feltTile() {
    static const QImage tile = [] {
        QImage img(61, 59, QImage::Format_RGB32);
        std::uint32_t state = 0x2545f491u;
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                state = state * 1664525u + 1013904223u;
                const int d = static_cast<int>((state >> 24) % 9) - 4;
                row[x] = qRgb(Felt.red() + d, Felt.green() + d + (d > 2 ? 2 : 0), Felt.blue() + d);
            }
        }
        return img;
    }();
    return tile;
}

void drawFelt(QPainter& p) {
    QBrush brush(feltTile());
    // The speckle is sized in box units, so the cloth looks alike at every output size.
    brush.setTransform(QTransform::fromScale(0.5, 0.5));
    p.fillRect(BoxRect, brush);
    // A soft light in the middle, as on a lit table.
    QRadialGradient light(BoxRect.center(), BoxHeight * 0.65);
    light.setColorAt(0, QColor(255, 255, 255, 26));
    light.setColorAt(1, QColor(0, 0, 0, 40));
    p.fillRect(BoxRect, light);
}

void drawShadow(QPainter& p, const QRectF& card, double radius) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(card.translated(1.2, 1.6), radius, radius);
    p.restore();
}

void drawBlankCard(QPainter& p, const QRectF& card, double radius) {
    p.save();
    p.setPen(QPen(CardEdge, 0.7));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card.adjusted(0.35, 0.35, -0.35, -0.35), radius, radius);
    p.restore();
}

// The back is designed on a card of face size and scaled to whatever rectangle it fills, so the
// piles and the fans show the very same back.
void drawCardBack(QPainter& p, const QRectF& card) {
    const QRectF design(0, 0, FaceRect.width(), FaceRect.height());
    p.save();
    p.translate(card.topLeft());
    p.scale(card.width() / design.width(), card.height() / design.height());

    drawBlankCard(p, design, FaceRadius);
    const QRectF field = design.adjusted(6, 6, -6, -6);
    QPainterPath fieldPath;
    fieldPath.addRoundedRect(field, 4, 4);
    p.fillPath(fieldPath, BackBlue);

    p.setClipPath(fieldPath);
    // Two sets of diagonal lines through the middle give the lattice; a dot sits in every diamond.
    const QPointF middle = field.center();
    const double step = 9.0;
    // Each line is long enough to cross the field, and no longer: clipped drawing is not free.
    const double reach = (field.width() + field.height()) / 2;
    const QPointF half(field.height() / 2 + 1, field.height() / 2 + 1);
    p.setPen(QPen(BackLine, 0.9));
    for (double d = -std::floor(reach / step) * step; d <= reach; d += step) {
        const QPointF on = middle + QPointF(d, 0);
        p.drawLine(on - half, on + half);
        p.drawLine(on - QPointF(half.x(), -half.y()), on + QPointF(half.x(), -half.y()));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(BackLine);
    const int across = static_cast<int>(field.width() / step) + 1;
    const int down = static_cast<int>(field.height() / step) + 1;
    for (int n = -down; n <= down; ++n) {
        for (int m = -across; m <= across; ++m) {
            if ((m + n) % 2 != 0)
                p.drawEllipse(middle + QPointF(m, n) * (step / 2), 0.9, 0.9);
        }
    }
    p.setClipping(false);

    // A white frame and a medallion in the middle.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.1));
    p.drawRoundedRect(field.adjusted(3.5, 3.5, -3.5, -3.5), 2.5, 2.5);
    QPainterPath medallion;
    medallion.moveTo(middle + QPointF(0, -26));
    medallion.lineTo(middle + QPointF(18, 0));
    medallion.lineTo(middle + QPointF(0, 26));
    medallion.lineTo(middle + QPointF(-18, 0));
    medallion.closeSubpath();
    p.setBrush(BackBlue);
    p.setPen(QPen(Qt::white, 1.4));
    p.drawPath(medallion);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(BackLine, 1.0));
    p.drawEllipse(middle, 8.5, 8.5);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(middle, 3.2, 3.2);
    p.restore();
}

// ---- Faces

QString indexText(Rank rank) {
    switch (rank) {
    case Rank::Koenig:
        return QStringLiteral("K");
    case Rank::Dame:
        return QStringLiteral("D");
    case Rank::Bube:
        return QStringLiteral("B");
    case Rank::Ass:
        return QStringLiteral("A");
    case Rank::Zehn:
        return QStringLiteral("10");
    case Rank::Neun:
        return QStringLiteral("9");
    case Rank::Acht:
        return QStringLiteral("8");
    case Rank::Sieben:
        return QStringLiteral("7");
    }
    return {};
}

void drawIndex(QPainter& p, Suit suit, Rank rank) {
    const QPointF letterCentre(11.5, 14.5);
    for (int end = 0; end < 2; ++end) {
        p.save();
        if (end == 1) {
            p.translate(BoxRect.center());
            p.rotate(180);
            p.translate(-BoxRect.center());
        }
        p.fillPath(textPath(indexText(rank), 13.0, letterCentre, 14.0), suitColour(suit));
        drawPip(p, suit, QPointF(11.5, 31), 10.0);
        p.restore();
    }
}

// Pip positions as fractions of the pip field; rows below the middle are printed turned.
struct PipSpot {
    double x, y;
};

std::vector<PipSpot> pipLayout(Rank rank) {
    const double l = 0.0, c = 0.5, r = 1.0;
    switch (rank) {
    case Rank::Sieben:
        return {{l, 0}, {r, 0}, {c, 0.25}, {l, 0.5}, {r, 0.5}, {l, 1}, {r, 1}};
    case Rank::Acht:
        return {{l, 0}, {r, 0}, {c, 0.25}, {l, 0.5}, {r, 0.5}, {c, 0.75}, {l, 1}, {r, 1}};
    case Rank::Neun:
        return {{l, 0},       {r, 0},       {l, 1.0 / 3}, {r, 1.0 / 3}, {c, 0.5},
                {l, 2.0 / 3}, {r, 2.0 / 3}, {l, 1},       {r, 1}};
    case Rank::Zehn:
        return {{l, 0},       {r, 0},       {c, 1.0 / 6}, {l, 1.0 / 3}, {r, 1.0 / 3},
                {l, 2.0 / 3}, {r, 2.0 / 3}, {c, 5.0 / 6}, {l, 1},       {r, 1}};
    default:
        return {};
    }
}

void drawNumberPips(QPainter& p, Suit suit, Rank rank) {
    const QRectF field(40, 38, 57, 133); // centres of the outer pips
    for (const PipSpot& spot : pipLayout(rank)) {
        const QPointF centre(field.left() + spot.x * field.width(),
                             field.top() + spot.y * field.height());
        drawPip(p, suit, centre, 25.0, spot.y > 0.5);
    }
}

void drawAce(QPainter& p, Suit suit) {
    drawPip(p, suit, BoxRect.center(), 66.0);
    // A fine ring round the big pip, as the aces of many decks have.
    p.save();
    p.setPen(QPen(suitColour(suit), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(BoxRect.center(), 44.0, 44.0);
    p.restore();
}

// ---- Court figures
// Drawn in the upper half of the panel (93 x 91.5 units, origin at the panel's top left) and
// repeated turned for the lower half, as on double-headed cards.

constexpr double PanelW = 93.0;
constexpr double PanelHalf = 91.5;
const QRectF PanelRect(22, 13, PanelW, 2 * PanelHalf);
constexpr double Cx = PanelW / 2;

QPen outline(double width = 0.7) {
    return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QColor& fill, double width = 0.7) {
    p.setPen(outline(width));
    p.setBrush(fill);
    p.drawPath(path);
}

// A bent arm ending in a hand that holds the figure's attribute.
void drawArm(QPainter& p, QPointF shoulder, QPointF hand, const QColor& sleeve) {
    QPainterPath line;
    line.moveTo(shoulder);
    line.quadTo(QPointF(hand.x() + (shoulder.x() - hand.x()) * 0.2, shoulder.y() + 2), hand);
    QPainterPathStroker stroker;
    stroker.setWidth(8.5);
    stroker.setCapStyle(Qt::RoundCap);
    fillOutlined(p, stroker.createStroke(line).simplified(), sleeve, 0.6);
    const QPointF towards = shoulder - hand;
    const double length = std::hypot(towards.x(), towards.y());
    const QPointF cuff = hand + towards * (3.5 / length);
    p.setPen(outline(0.5));
    p.setBrush(Gold);
    p.drawEllipse(cuff, 4.6, 4.6);
    p.setBrush(Flesh);
    p.setPen(outline(0.6));
    p.drawEllipse(hand, 4.0, 3.5);
}

QPainterPath robePath() {
    QPainterPath robe;
    robe.moveTo(4, PanelHalf + 1);
    robe.lineTo(4, 72);
    robe.cubicTo(4, 60, 18, 53, 33, 51);
    robe.lineTo(60, 51);
    robe.cubicTo(75, 53, 89, 60, 89, 72);
    robe.lineTo(89, PanelHalf + 1);
    robe.closeSubpath();
    return robe;
}

void drawFace(QPainter& p, bool beard) {
    QPainterPath neck;
    neck.addRect(QRectF(Cx - 5, 42, 10, 11));
    fillOutlined(p, neck, Flesh, 0.5);

    QPainterPath head;
    head.addEllipse(QPointF(Cx, 34), 10.0, 12.0);
    fillOutlined(p, head, Flesh);

    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(Cx - 4, 32.5), 1.1, 1.2);
    p.drawEllipse(QPointF(Cx + 4, 32.5), 1.1, 1.2);
    p.setPen(outline(0.6));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(Cx - 6, 29.5), QPointF(Cx - 2.5, 29));
    p.drawLine(QPointF(Cx + 2.5, 29), QPointF(Cx + 6, 29.5));
    QPainterPath nose;
    nose.moveTo(Cx, 33);
    nose.lineTo(Cx - 1.3, 38);
    nose.lineTo(Cx + 0.8, 38.4);
    p.drawPath(nose);
    if (beard) {
        QPainterPath b;
        b.moveTo(Cx - 10, 35);
        b.cubicTo(Cx - 9, 46, Cx - 5, 53, Cx, 56);
        b.cubicTo(Cx + 5, 53, Cx + 9, 46, Cx + 10, 35);
        b.cubicTo(Cx + 7, 41, Cx + 4, 42.5, Cx, 42.5);
        b.cubicTo(Cx - 4, 42.5, Cx - 7, 41, Cx - 10, 35);
        fillOutlined(p, b, QColor(0x8a, 0x5a, 0x2a), 0.6);
        p.setPen(outline(0.5));
        p.drawLine(QPointF(Cx - 1.5, 45), QPointF(Cx - 2, 51));
        p.drawLine(QPointF(Cx + 1.5, 45), QPointF(Cx + 2, 51));
    }
    p.setPen(QPen(QColor(0xb0, 0x28, 0x30), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(Cx - 2.2, 42), QPointF(Cx + 2.2, 42));
}

void drawKing(QPainter& p, Suit suit) {
    const QColor main = suitColour(suit);
    fillOutlined(p, robePath(), main);
    // Blue tunic under the open robe.
    QPainterPath tunic;
    tunic.moveTo(Cx - 12, PanelHalf + 1);
    tunic.lineTo(Cx - 9, 55);
    tunic.lineTo(Cx + 9, 55);
    tunic.lineTo(Cx + 12, PanelHalf + 1);
    tunic.closeSubpath();
    fillOutlined(p, tunic, CourtBlue, 0.5);
    p.setPen(QPen(Gold, 1.6));
    p.drawLine(QPointF(Cx - 10.5, 75), QPointF(Cx + 10.5, 75));
    // Ermine collar.
    QPainterPath collar;
    collar.moveTo(26, 53);
    collar.cubicTo(32, 49, 61, 49, 67, 53);
    collar.cubicTo(66, 60, 56, 64, Cx, 64);
    collar.cubicTo(37, 64, 27, 60, 26, 53);
    fillOutlined(p, collar, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (double x : {31.0, 39.0, 54.0, 62.0})
        p.drawRect(QRectF(x - 0.6, 55.5, 1.2, 2.4));

    // Hair at the temples.
    p.setBrush(QColor(0x8a, 0x5a, 0x2a));
    p.setPen(outline(0.5));
    p.drawEllipse(QPointF(Cx - 10.5, 33), 3.2, 6.0);
    p.drawEllipse(QPointF(Cx + 10.5, 33), 3.2, 6.0);
    drawFace(p, true);

    // Crown.
    QPainterPath crown;
    crown.moveTo(Cx - 12, 25);
    crown.lineTo(Cx - 13, 12);
    crown.lineTo(Cx - 7, 18);
    crown.lineTo(Cx - 3.5, 8);
    crown.lineTo(Cx, 16);
    crown.lineTo(Cx + 3.5, 8);
    crown.lineTo(Cx + 7, 18);
    crown.lineTo(Cx + 13, 12);
    crown.lineTo(Cx + 12, 25);
    crown.closeSubpath();
    fillOutlined(p, crown, Gold);
    p.setPen(outline(0.5));
    p.drawLine(QPointF(Cx - 12.2, 21.5), QPointF(Cx + 12.2, 21.5));
    p.setBrush(main);
    for (double x : {-6.5, 0.0, 6.5})
        p.drawEllipse(QPointF(Cx + x, 23.3), 1.5, 1.5);
    p.setBrush(Gold);
    for (QPointF tip : {QPointF(-13, 12), QPointF(-3.5, 8), QPointF(3.5, 8), QPointF(13, 12)})
        p.drawEllipse(QPointF(Cx, 0) + tip, 1.4, 1.4);

    // Sceptre in the right hand.
    p.setPen(QPen(GoldDark, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, PanelHalf), QPointF(19, 40));
    p.setPen(outline(0.6));
    p.setBrush(Gold);
    p.drawEllipse(QPointF(19.2, 37), 4.0, 4.0);
    p.setPen(QPen(GoldDark, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.3, 33), QPointF(19.5, 27));
    p.drawLine(QPointF(17, 29.5), QPointF(22, 29.5));
    drawArm(p, QPointF(28, 58), QPointF(17.5, 70), CourtBlue);
}

void drawQueen(QPainter& p, Suit suit) {
    const QColor main = suitColour(suit);
    const QColor hair(0xb8, 0x84, 0x2c);
    // Long hair behind the head and shoulders.
    QPainterPath back;
    back.addRoundedRect(QRectF(Cx - 14, 20, 28, 38), 12, 12);
    fillOutlined(p, back, hair, 0.6);

    fillOutlined(p, robePath(), main);
    // Square neckline with a blue bodice and a string of pearls.
    QPainterPath bodice;
    bodice.moveTo(Cx - 15, 51.5);
    bodice.lineTo(Cx - 13, PanelHalf + 1);
    bodice.lineTo(Cx + 13, PanelHalf + 1);
    bodice.lineTo(Cx + 15, 51.5);
    bodice.closeSubpath();
    fillOutlined(p, bodice, CourtBlue, 0.5);
    QPainterPath neckline;
    neckline.addRect(QRectF(Cx - 10, 50, 20, 9));
    fillOutlined(p, neckline, Flesh, 0.5);
    p.setPen(QPen(Gold, 1.4));
    for (double y : {66.0, 74.0, 82.0})
        p.drawLine(QPointF(Cx - 12.5, y), QPointF(Cx + 12.5, y));
    drawFace(p, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = -3; i <= 3; ++i)
        p.drawEllipse(QPointF(Cx + i * 2.6, 55.0 + 0.25 * i * i), 1.05, 1.05);

    // Hair over the forehead, then a veil in the suit colour and a small diadem.
    QPainterPath fringe;
    fringe.moveTo(Cx - 10.5, 33);
    fringe.cubicTo(Cx - 10, 22, Cx + 10, 22, Cx + 10.5, 33);
    fringe.cubicTo(Cx + 6, 26, Cx - 6, 26, Cx - 10.5, 33);
    fillOutlined(p, fringe, hair, 0.5);
    QPainterPath veil;
    veil.moveTo(Cx - 17, 58);
    veil.cubicTo(Cx - 20, 30, Cx - 14, 14, Cx, 14);
    veil.cubicTo(Cx + 14, 14, Cx + 20, 30, Cx + 17, 58);
    veil.lineTo(Cx + 13, 58);
    veil.cubicTo(Cx + 15, 34, Cx + 10, 21, Cx, 21);
    veil.cubicTo(Cx - 10, 21, Cx - 15, 34, Cx - 13, 58);
    veil.closeSubpath();
    fillOutlined(p, veil, main);
    QPainterPath diadem;
    diadem.moveTo(Cx - 9, 22);
    diadem.cubicTo(Cx - 5, 19.5, Cx + 5, 19.5, Cx + 9, 22);
    diadem.lineTo(Cx + 8, 18.5);
    diadem.lineTo(Cx + 3, 17);
    diadem.lineTo(Cx, 11.5);
    diadem.lineTo(Cx - 3, 17);
    diadem.lineTo(Cx - 8, 18.5);
    diadem.closeSubpath();
    fillOutlined(p, diadem, Gold, 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(Cx, 15.5), 1.2, 1.2);

    // A flower in the left hand.
    p.setPen(QPen(QColor(0x3a, 0x7a, 0x3a), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(73, 74), QPointF(74, 47));
    p.setPen(outline(0.5));
    p.setBrush(QColor(0x4a, 0x9a, 0x48));
    QPainterPath leaf;
    leaf.moveTo(73.6, 60);
    leaf.quadTo(80, 55, 82, 58);
    leaf.quadTo(78, 62, 73.6, 60);
    p.drawPath(leaf);
    p.setBrush(main);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * std::numbers::pi / 5;
        p.drawEllipse(QPointF(74 + 3.4 * std::sin(a), 44 - 3.4 * std::cos(a)), 2.6, 2.6);
    }
    p.setBrush(Gold);
    p.drawEllipse(QPointF(74, 44), 1.9, 1.9);
    drawArm(p, QPointF(64, 58), QPointF(73.5, 72), CourtBlue);
}

void drawJack(QPainter& p, Suit suit) {
    const QColor main = suitColour(suit);
    // Striped doublet.
    const QPainterPath robe = robePath();
    fillOutlined(p, robe, main);
    p.save();
    p.setClipPath(robe);
    p.setPen(Qt::NoPen);
    p.setBrush(CourtBlue);
    for (double x = 13; x < PanelW; x += 14)
        p.drawRect(QRectF(x, 50, 6, 50));
    p.restore();
    p.setPen(outline());
    p.setBrush(Qt::NoBrush);
    p.drawPath(robe);
    QPainterPath collar;
    collar.moveTo(Cx - 12, 51);
    collar.lineTo(Cx, 60);
    collar.lineTo(Cx + 12, 51);
    collar.closeSubpath();
    fillOutlined(p, collar, Qt::white, 0.5);
    p.setPen(QPen(Gold, 2.0));
    p.drawLine(QPointF(8, 84), QPointF(85, 84));

    // Short hair, then the face.
    QPainterPath hair;
    hair.moveTo(Cx - 12, 42);
    hair.cubicTo(Cx - 14, 24, Cx + 14, 24, Cx + 12, 42);
    hair.lineTo(Cx + 8, 40);
    hair.lineTo(Cx - 8, 40);
    hair.closeSubpath();
    fillOutlined(p, hair, QColor(0x5a, 0x3a, 0x1e), 0.6);
    drawFace(p, false);

    // A flat cap worn aslant, with a feather.
    QPainterPath feather;
    feather.moveTo(Cx + 6, 19);
    feather.cubicTo(Cx + 14, 8, Cx + 24, 4, Cx + 32, 7);
    feather.cubicTo(Cx + 24, 9, Cx + 16, 15, Cx + 10, 22);
    feather.closeSubpath();
    fillOutlined(p, feather, Cream, 0.5);
    p.save();
    p.translate(Cx, 22);
    p.rotate(-9);
    QPainterPath cap;
    cap.addEllipse(QPointF(0, -1), 17.0, 6.0);
    fillOutlined(p, cap, main);
    QPainterPath band;
    band.addRoundedRect(QRectF(-11.5, 0.5, 23, 4), 1.5, 1.5);
    fillOutlined(p, band, Gold, 0.5);
    p.restore();

    // A halberd in the left hand.
    p.setPen(QPen(QColor(0x7a, 0x52, 0x2a), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(76, PanelHalf), QPointF(75, 20));
    QPainterPath blade;
    blade.moveTo(75, 6);
    blade.lineTo(77, 18);
    blade.lineTo(84, 16);
    blade.cubicTo(86, 22, 85, 28, 82, 31);
    blade.lineTo(77, 26);
    blade.lineTo(73, 26);
    blade.lineTo(73, 18);
    blade.closeSubpath();
    fillOutlined(p, blade, QColor(0xc8, 0xcc, 0xd4), 0.6);
    drawArm(p, QPointF(64, 57), QPointF(75.5, 70), main);
}

void drawCourt(QPainter& p, Suit suit, Rank rank) {
    const QColor main = suitColour(suit);
    QPainterPath panel;
    panel.addRect(PanelRect);
    p.fillPath(panel, Cream);

    for (int half = 0; half < 2; ++half) {
        p.save();
        if (half == 1) {
            p.translate(BoxRect.center());
            p.rotate(180);
            p.translate(-BoxRect.center());
        }
        p.setClipRect(QRectF(PanelRect.left(), PanelRect.top(), PanelW, PanelHalf));
        p.translate(PanelRect.topLeft());
        switch (rank) {
        case Rank::Koenig:
            drawKing(p, suit);
            break;
        case Rank::Dame:
            drawQueen(p, suit);
            break;
        default:
            drawJack(p, suit);
            break;
        }
        drawPip(p, suit, QPointF(8, 9), 10.0);
        p.restore();
    }

    p.setPen(QPen(main, 0.6));
    p.drawLine(QPointF(PanelRect.left(), BoxRect.center().y()),
               QPointF(PanelRect.right(), BoxRect.center().y()));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(main, 1.2));
    p.drawRect(PanelRect);
    p.setPen(QPen(main, 0.4));
    p.drawRect(PanelRect.adjusted(-1.6, -1.6, 1.6, 1.6));
}

void drawFaceCard(QPainter& p, Suit suit, Rank rank) {
    drawFelt(p);
    drawShadow(p, FaceRect, FaceRadius);
    drawBlankCard(p, FaceRect, FaceRadius);
    switch (rank) {
    case Rank::Koenig:
    case Rank::Dame:
    case Rank::Bube:
        drawCourt(p, suit, rank);
        break;
    case Rank::Ass:
        drawAce(p, suit);
        break;
    default:
        drawNumberPips(p, suit, rank);
        break;
    }
    drawIndex(p, suit, rank);
}

// ---- Piles

const QSizeF PileCard(124, 191);
constexpr double PileRadius = 6.6;

struct Placement {
    QPointF topLeft;
    double angle; // degrees, about the card's centre
};

void drawPile(QPainter& p, const std::vector<Placement>& cards) {
    drawFelt(p);
    for (const Placement& c : cards) {
        p.save();
        const QRectF rect(c.topLeft, PileCard);
        p.translate(rect.center());
        p.rotate(c.angle);
        p.translate(-rect.center());
        drawShadow(p, rect, PileRadius);
        drawCardBack(p, rect);
        p.restore();
    }
}

// Lowest card first. The two views differ in which way the edges show and in how the top cards
// lie, so alternating them reads as cards being taken off.
std::vector<Placement> pileView(int view) {
    std::vector<Placement> cards;
    for (int i = 4; i >= 0; --i) {
        const double off = 1.7 * i;
        if (view == 1)
            cards.push_back({QPointF(3.5 + off, 3 + off), 0.0});
        else
            cards.push_back({QPointF(10 - off, 3.5 + off), i == 0 ? -2.2 : (i == 1 ? 1.0 : 0.0)});
    }
    return cards;
}

void drawEmptyPlace(QPainter& p) {
    drawFelt(p);
    const QRectF place(
        QPointF((BoxWidth - PileCard.width()) / 2, (BoxHeight - PileCard.height()) / 2), PileCard);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawRoundedRect(place, PileRadius, PileRadius);
    QPen dash(QColor(0xc8, 0xe6, 0xc8), 1.3, Qt::CustomDashLine, Qt::RoundCap);
    dash.setDashPattern({4.0, 3.0});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(place.adjusted(2, 2, -2, -2), PileRadius - 1, PileRadius - 1);
}

// ---- Initial pictures

void drawBlank(QPainter& p) {
    p.fillRect(BoxRect, PaleYellow);
}

// Five backs turned about one pivot, drawn left to right so the right-hand card lies on top.
void drawFan(QPainter& p, bool topAtLeft) {
    drawBlank(p);
    const std::array<double, 5> angles = {-15, -7.5, 0, 7.5, 15};
    // A card relative to the pivot, which lies a little above its lower edge as in a held fan.
    const QSizeF card(76, 117);
    const QRectF local(-card.width() / 2, -card.height() + 16, card.width(), card.height());
    QRectF bounds;
    for (double a : angles)
        bounds |= QTransform().rotate(a).mapRect(local);

    // Fit the fan into the box with a margin, keeping its proportions.
    const QRectF target = BoxRect.adjusted(6, 6, -6, -6);
    const double s = std::min(target.width() / bounds.width(), target.height() / bounds.height());
    p.save();
    p.translate(BoxRect.center());
    if (topAtLeft)
        p.scale(-1, 1);
    p.scale(s, s);
    p.translate(-bounds.center());
    for (double a : angles) {
        p.save();
        p.rotate(a);
        drawShadow(p, local, PileRadius * card.width() / PileCard.width());
        drawCardBack(p, local);
        p.restore();
    }
    p.restore();
}

// ---- File names

struct NamedSuit {
    const char* name;
    Suit suit;
};
struct NamedRank {
    const char* name;
    Rank rank;
};

} // namespace

std::vector<Picture> PictureFolder() {
    // The catalogue's order within a suit, not rank order.
    const std::array<NamedSuit, 4> suits = {{{"herz", Suit::Herz},
                                             {"karo", Suit::Karo},
                                             {"kreuz", Suit::Kreuz},
                                             {"sch", Suit::Schippe}}};
    const std::array<NamedRank, 8> ranks = {{{"koenig", Rank::Koenig},
                                             {"dame", Rank::Dame},
                                             {"ass", Rank::Ass},
                                             {"zehn", Rank::Zehn},
                                             {"neun", Rank::Neun},
                                             {"acht", Rank::Acht},
                                             {"sieben", Rank::Sieben},
                                             {"bube", Rank::Bube}}};
    std::vector<Picture> pictures;
    for (const NamedSuit& s : suits) {
        for (const NamedRank& r : ranks) {
            const Suit suit = s.suit;
            const Rank rank = r.rank;
            pictures.push_back({QString::fromLatin1(s.name) + u'_' + QString::fromLatin1(r.name),
                                [suit, rank](QPainter& p) { drawFaceCard(p, suit, rank); }});
        }
    }
    pictures.push_back({QStringLiteral("stapel1"), [](QPainter& p) { drawPile(p, pileView(1)); }});
    pictures.push_back({QStringLiteral("stapel3"), [](QPainter& p) { drawPile(p, pileView(3)); }});
    pictures.push_back({QStringLiteral("stapel2"), [](QPainter& p) {
                            const QPointF at((BoxWidth - PileCard.width()) / 2,
                                             (BoxHeight - PileCard.height()) / 2);
                            drawPile(p, {{at, 0.0}});
                        }});
    pictures.push_back({QStringLiteral("leer1"), drawEmptyPlace});
    return pictures;
}

std::vector<Picture> InitialPictures() {
    return {
        {QStringLiteral("blank"), drawBlank},
        {QStringLiteral("fan_right"), [](QPainter& p) { drawFan(p, false); }},
        {QStringLiteral("fan_left"), [](QPainter& p) { drawFan(p, true); }},
    };
}

QImage Render(const Picture& picture, QSize pixels) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                     QPainter::TextAntialiasing);
    p.scale(pixels.width() / BoxWidth, pixels.height() / BoxHeight);
    picture.draw(p);
    p.end();
    return image;
}

} // namespace CardPainter
