// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

// What the window draws at the scale factor that CTest gives this suite
// (QT_SCALE_FACTOR 1, 1.5, 2 and 4), read back pixel by pixel in device
// pixels: the picture, a lit marker, every answer in its field, the rules
// panel, and where the window opens.

#include <QJsonArray>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <cmath>
#include <functional>

#include <QSvgRenderer>

#include "modelled_window.h"
#include "ui/artwork.h"
#include "ui/game.h"

namespace {

bool isOutline(QRgb rgb)
{
    return qRed(rgb) < 215 && qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb);
}

// The columns from the leftmost to the rightmost pixel that passes `test`.
int inkWidth(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    int left = area.right() + 1, right = area.left() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right - left + 1;
}

// An SVG drawn on white with QtSvg itself, as the game drew its pictures
// before it drew them at build time.
QImage svgDrawn(const QString& svg, QSize size, qreal ratio)
{
    QImage image(size * ratio, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QSvgRenderer(svg).render(&painter);
    return image;
}

}  // namespace

class ScalesTest : public GameTest {
    Q_OBJECT

private slots:
    void init();

    void windowOpensWhollyReachable();
    void pictureIsDrawnAtTheScreensRatio();
    void litMarkerFillsItsCell();
    void everyAnswerIsDrawnWholeInsideItsField_data();
    void everyAnswerIsDrawnWholeInsideItsField();
    void rulesPanelIsWhiteAndClosedWithItsCaptionInTheBorder();

private:
    // A logical rectangle of the window in device pixels: every device
    // pixel that it covers, wholly or in part.
    QRect device(const QRect& logical) const;
    // Only the device pixels that it covers wholly.
    QRect wholly(const QRect& logical) const;

    qreal ratio_ = 1;
};

void ScalesTest::init()
{
    GameTest::init();
    ratio_ = form().devicePixelRatio();
    QCOMPARE(ratio_, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
}

QRect ScalesTest::device(const QRect& logical) const
{
    return QRectF(QPointF(logical.topLeft()) * ratio_, QSizeF(logical.size()) * ratio_).toAlignedRect();
}

QRect ScalesTest::wholly(const QRect& logical) const
{
    const QRectF exact(QPointF(logical.topLeft()) * ratio_, QSizeF(logical.size()) * ratio_);
    return QRect(QPoint(int(std::ceil(exact.left())), int(std::ceil(exact.top()))),
                 QPoint(int(std::floor(exact.right())) - 1, int(std::floor(exact.bottom())) - 1));
}

void ScalesTest::windowOpensWhollyReachable()
{
    // Centred with its frame where it fits the screen; at a scale where it
    // does not (4: the screen is 200 x 150), the top-left corner stays on it.
    const QRect frame = form().frameGeometry();
    const QRect available = form().screen()->availableGeometry();
    QCOMPARE(form().size(), clientSize());
    if (available.width() >= frame.width() && available.height() >= frame.height()) {
        const QPoint offCentre = frame.center() - available.center();
        QVERIFY2(offCentre.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
    } else {
        QCOMPARE(frame.topLeft(), available.topLeft());
    }
}

void ScalesTest::pictureIsDrawnAtTheScreensRatio()
{
    // Not scaled up from a bitmap for one device pixel to the logical pixel:
    // identical to the picture drawn from its SVG at this ratio, wherever no
    // control lies over it, whether drawn at build time (ratios 1 and 2) or
    // now (the others).
    const QImage window = form().grab().toImage();
    QCOMPARE(window.size(), clientSize() * ratio_);
    const QImage sharp = svgDrawn(ui::kClockFace, boxOf(trick::Image1_0).size(), ratio_);
    const QRect picture = device(boxOf(trick::Image1_0)).intersected(window.rect());
    QList<QRect> covered;
    for (const trick::Control over : {trick::Text1, trick::Command1, trick::Command2, trick::Command3, trick::Command4})
        covered << device(boxOf(over).adjusted(-1, -1, 1, 1));
    int differing = 0;
    for (int y = picture.top(); y <= picture.bottom(); ++y)
        for (int x = picture.left(); x <= picture.right(); ++x) {
            const QPoint p(x, y);
            if (std::any_of(covered.begin(), covered.end(), [&p](const QRect& r) { return r.contains(p); }))
                continue;
            const QPoint inPicture = p - picture.topLeft();
            if (sharp.rect().contains(inPicture))
                differing += window.pixel(p) != sharp.pixel(inPicture) ? 1 : 0;
        }
    QCOMPARE(differing, 0);

    // So is the icon, at the sizes it was drawn at build time.
    for (const int side : {16, 32, 64}) {
        const QImage icon = form().windowIcon().pixmap(QSize(side, side), 1.0).toImage();
        QVERIFY2(icon.convertToFormat(QImage::Format_RGB32) == svgDrawn(ui::kIcon, {side, side}, 1.0),
                 qPrintable(QString::number(side)));
    }
}

void ScalesTest::litMarkerFillsItsCell()
{
    window_->tap();  // lights marker 0
    const QRect cell = boxOf(marker(0));
    const QImage window = form().grab().toImage();
    const QRect inside = wholly(cell);
    QCOMPARE(countPixels(window, inside, [](QRgb rgb) { return (rgb & 0xFFFFFF) == 0xFF0000; }),
             inside.width() * inside.height());
    // Nothing red spills beyond the cell: its neighbours are the watch.
    const QRect around = device(cell).adjusted(-1, -1, 1, 1);
    for (int x = around.left(); x <= around.right(); ++x)
        QVERIFY(!isRed(window.pixel(x, around.top())) && !isRed(window.pixel(x, around.bottom())));
    for (int y = around.top(); y <= around.bottom(); ++y)
        QVERIFY(!isRed(window.pixel(around.left(), y)) && !isRed(window.pixel(around.right(), y)));
}

void ScalesTest::everyAnswerIsDrawnWholeInsideItsField_data()
{
    // Every answer that the shared scenarios reveal, once each.
    QTest::addColumn<QJsonArray>("steps");
    QTest::addColumn<QString>("answer");
    QSet<QString> answers;
    for (const QJsonValue scenario : scenarios()) {
        const QString answer = scenario[QLatin1String("Text7")].toString();
        if (scenario[QLatin1String("revealed")].toBool() && !answer.isEmpty() && !answers.contains(answer)) {
            answers << answer;
            QTest::newRow(qPrintable(answer)) << scenario[QLatin1String("steps")].toArray() << answer;
        }
    }
    QCOMPARE(answers.size(), 15);  // 1 to 13, "?" and "XXX"
}

void ScalesTest::everyAnswerIsDrawnWholeInsideItsField()
{
    QFETCH(QJsonArray, steps);
    QFETCH(QString, answer);

    ModelledWindow player(form());
    for (const QJsonValue step : steps)
        player.play(step.toString());
    const QLineEdit* field = &form().textBox(trick::Text7);
    QCOMPARE(field->text(), answer);
    QVERIFY(!field->isHidden());
    const QImage window = form().grab().toImage();

    // Nothing red on the field's border or past it.
    const QRect box = field->geometry();
    const QRect inside = wholly(box.adjusted(1, 1, -1, -1));
    const QRect around = device(box.adjusted(-3, -3, 3, 3));
    QCOMPARE(countPixels(window, around, isRed), countPixels(window, inside, isRed));

    // Whole, and at the face's own spacing: the same ink, as wide, as the
    // answer drawn on its own in a plain bold face of the field's family.
    QFont plain(QFontInfo(field->font()).family());
    plain.setPixelSize(13);
    plain.setBold(true);
    QImage alone(QSize(80, 30) * ratio_, QImage::Format_RGB32);
    alone.setDevicePixelRatio(ratio_);
    alone.fill(Qt::white);
    QPainter painter(&alone);
    painter.setFont(plain);
    painter.setPen(Qt::red);
    painter.drawText(QPointF(10, 20), answer);
    painter.end();
    const int ink = countPixels(window, inside, isRed);
    const int expected = countPixels(alone, alone.rect(), isRed);
    QVERIFY2(std::abs(ink - expected) <= expected / 10, qPrintable(QStringLiteral("%1 of %2").arg(ink).arg(expected)));
    QVERIFY(std::abs(inkWidth(window, inside, isRed) - inkWidth(alone, alone.rect(), isRed)) <= 1);
}

void ScalesTest::rulesPanelIsWhiteAndClosedWithItsCaptionInTheBorder()
{
    window_->press(trick::Command4);  // "Правила"
    QVERIFY(!control(trick::Frame1)->isHidden());
    const QImage window = form().grab().toImage();
    const QRect panel = boxOf(trick::Frame1);

    // The top border runs somewhere through the caption's line of text.
    int topLine = -1;
    for (int y = 0; y < 14 && topLine < 0; ++y)
        if (isOutline(window.pixel(device({panel.right() - 8, panel.top() + y, 1, 1}).topLeft())))
            topLine = panel.top() + y;
    QVERIFY2(topLine > panel.top(), "no top border below the caption's top");

    // Closed on all four sides: every row of the sides, every column of the
    // top and bottom has a pixel of the border's line.
    const auto lineAcross = [&](const QRect& logical, bool vertical) {
        const QRect band = device(logical);
        for (int i = 0; i < (vertical ? band.height() : band.width()); ++i) {
            const QRect strip = vertical ? QRect(band.left(), band.top() + i, band.width(), 1)
                                         : QRect(band.left() + i, band.top(), 1, band.height());
            if (countPixels(window, strip, isOutline) == 0)
                return false;
        }
        return true;
    };
    const int sideHeight = panel.bottom() - topLine + 1;
    QVERIFY2(lineAcross({panel.left(), topLine, 1, sideHeight}, true), "left side");
    QVERIFY2(lineAcross({panel.right(), topLine, 1, sideHeight}, true), "right side");
    QVERIFY2(lineAcross({panel.left(), panel.bottom(), panel.width(), 1}, false), "bottom");

    // The caption interrupts the top line near its left end, in dark red
    // italic letters that straddle the line.
    QVERIFY2(lineAcross({panel.left() + 60, topLine, panel.width() - 60, 1}, false), "top, right of the caption");
    QVERIFY2(!lineAcross({panel.left(), topLine, 60, 1}, false), "the top line is not interrupted");
    const auto darkRed = [](QRgb rgb) { return qRed(rgb) < 140 && qRed(rgb) > qGreen(rgb) + 30; };
    QVERIFY(countPixels(window, device({panel.left(), panel.top(), 60, topLine - panel.top()}), darkRed) > 10);
    QVERIFY(countPixels(window, device({panel.left(), topLine + 1, 60, 6}), darkRed) > 10);

    // White inside the border, but for the red rules text, the "ОК" button
    // and the caption's lower half.
    QImage masked = window;
    QPainter painter(&masked);
    painter.fillRect(boxOf(trick::Command5).adjusted(-1, -1, 1, 1), Qt::white);
    painter.fillRect(QRect(panel.left(), panel.top(), 60, 16), Qt::white);
    painter.end();
    const QRect inner = wholly(QRect(QPoint(panel.left() + 1, topLine + 1), panel.bottomRight() - QPoint(1, 1)));
    const int whiteOrRed = countPixels(
        masked, inner, [](QRgb rgb) { return qRed(rgb) == 255 && std::abs(qGreen(rgb) - qBlue(rgb)) <= 2; });
    QCOMPARE(whiteOrRed, inner.width() * inner.height());
    QVERIFY(countPixels(window, inner, isRed) > 300 * ratio_ * ratio_);
}

QTEST_MAIN(ScalesTest)
#include "test_scales.moc"
