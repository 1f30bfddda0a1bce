// The window on a screen with two device pixels to the logical pixel
// (this suite runs with QT_SCALE_FACTOR=2).

#include <QTest>

#include "ui/artwork.h"
#include "ui/game.h"

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsTwiceTheSizeAndSharp();
};

void HiDpiTest::windowIsTwiceTheSizeAndSharp()
{
    ui::Game game;
    game.start();
    ui::Form1& form = game.window();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.devicePixelRatio(), 2.0);

    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(18, 48));  // lights marker 0
    const QImage window = form.grab().toImage();
    QCOMPARE(window.size(), QSize(508, 414));

    // Marker 0 fills its 9 x 9 cell at (120, 56), 18 x 18 device pixels, with
    // no blended pixel on its edges.
    for (int y = 112; y < 130; ++y)
        for (int x = 240; x < 258; ++x)
            QCOMPARE(window.pixel(x, y) & 0xFFFFFF, 0xFF0000u);
    for (const QPoint outside : {QPoint(239, 120), QPoint(258, 120), QPoint(248, 111), QPoint(248, 130)})
        QVERIFY(qGreen(window.pixel(outside)) > 40);

    // The picture is drawn from the SVG at this ratio, not scaled up from a
    // bitmap for one device pixel to the logical pixel.
    const QImage sharp = ui::renderOpaque(ui::kClockFace, {244, 197}, 2.0);
    const QImage drawn = window.copy(16, 16, 488, 394);
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QPoint p(x, y);
            // Skip what the window draws over the picture.
            if (QRect(208, 176, 66, 38).contains(p) || QRect(224, 96, 18, 18).contains(p) ||
                QRect(0, 256, 130, 138).contains(p) || QRect(352, 256, 136, 138).contains(p))
                continue;
            differing += drawn.pixel(p) != sharp.pixel(p) ? 1 : 0;
        }
    QCOMPARE(differing, 0);
}

QTEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
