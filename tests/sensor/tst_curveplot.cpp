// The DPI curve plot: mapping, spline, hover and drag, demo points, and what it paints.
#include <QImage>
#include <QMouseEvent>
#include <QPainterPath>
#include <QtTest>

#include "sensor/CurvePlotWidget.h"

namespace {

// The size the advanced page gives its plots.
const QSize kPageSize(721, 381);
// A size whose scales (1/8 data unit per x pixel, 4 pixels per y unit) make the mapping exact, so
// distances of exactly 50 and 60 can be hit.
const QSize kExactSize(1035, 440);

void Send(QWidget* widget, QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, pos, pos, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void PressAt(CurvePlotWidget* plot, const QPointF& data, Qt::MouseButton button = Qt::LeftButton) {
    Send(plot, QEvent::MouseButtonPress, plot->DataToPixel(data), button, button);
}

void MoveTo(CurvePlotWidget* plot, const QPointF& data, Qt::MouseButtons buttons = Qt::NoButton) {
    Send(plot, QEvent::MouseMove, plot->DataToPixel(data), Qt::NoButton, buttons);
}

void ReleaseAt(CurvePlotWidget* plot, const QPointF& data) {
    Send(plot, QEvent::MouseButtonRelease, plot->DataToPixel(data), Qt::LeftButton, Qt::NoButton);
}

QImage Render(CurvePlotWidget* plot, QColor background = Qt::transparent) {
    QImage image(plot->size(), QImage::Format_ARGB32);
    image.fill(background);
    plot->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int PaintedPixels(const QImage& image) {
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) != 0;
    return painted;
}

}  // namespace

class TestCurvePlot : public QObject {
    Q_OBJECT

    // The points of the first four plots of this process, built as the page builds PicA ... PicD.
    QVector<QVector<QPointF>> firstPlots_;

private slots:
    void initTestCase() {
        QVERIFY(CurveAxisTitleX.isEmpty());
        QVERIFY(CurveAxisTitleY.isEmpty());
        for (int i = 0; i < 4; ++i) {
            CurvePlotWidget plot;
            firstPlots_.append(plot.Points());
        }
    }

    // Every run shows the same curves: the first plot of a process always gets these values, and each
    // further plot takes the next eight of the same sequence.
    void demoPointsAreTheSameEveryRun() {
        const QVector<double> firstY = {22, 12, 44, 45, 14, 51, 39, 45};
        const QVector<double> secondY = {58, 13, 45, 25, 50, 36, 49, 30};
        for (int plot = 0; plot < 4; ++plot) {
            const QVector<QPointF>& points = firstPlots_[plot];
            QCOMPARE(points.size(), 8);
            for (int i = 0; i < 8; ++i) {
                QCOMPARE(points[i].x(), 1000.0 * i);
                QVERIFY(points[i].y() >= 10 && points[i].y() <= 59);
                QCOMPARE(points[i].y(), std::floor(points[i].y()));
                if (plot == 0) QCOMPARE(points[i].y(), firstY[i]);
                if (plot == 1) QCOMPARE(points[i].y(), secondY[i]);
            }
        }
        QVERIFY(firstPlots_[2] != firstPlots_[3]);
    }

    void mapping_data() {
        QTest::addColumn<QPointF>("data");
        QTest::addColumn<QPointF>("pixel");
        QTest::newRow("origin") << QPointF(0, 0) << QPointF(80, 301);
        QTest::newRow("x end") << QPointF(7000, 0) << QPointF(641, 301);
        QTest::newRow("y end") << QPointF(0, 70) << QPointF(80, 80);
        QTest::newRow("far corner") << QPointF(7000, 70) << QPointF(641, 80);
        QTest::newRow("middle") << QPointF(3500, 35) << QPointF(360.5, 190.5);
        QTest::newRow("outside") << QPointF(-7000, 140) << QPointF(-481, -141);
    }
    void mapping() {
        QFETCH(QPointF, data);
        QFETCH(QPointF, pixel);
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        const QPointF mapped = plot.DataToPixel(data);
        QVERIFY2(qAbs(mapped.x() - pixel.x()) < 1e-9 && qAbs(mapped.y() - pixel.y()) < 1e-9,
                 qPrintable(QString("%1,%2").arg(mapped.x()).arg(mapped.y())));
        const QPointF back = plot.PixelToData(pixel);
        QVERIFY2(qAbs(back.x() - data.x()) < 1e-9 && qAbs(back.y() - data.y()) < 1e-9,
                 qPrintable(QString("%1,%2").arg(back.x()).arg(back.y())));
    }

    void mappingFollowsTheSize() {
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        for (const QPointF& point : plot.Points()) {
            const QPointF back = plot.PixelToData(plot.DataToPixel(point));
            QVERIFY(qAbs(back.x() - point.x()) < 1e-9 && qAbs(back.y() - point.y()) < 1e-9);
        }
        plot.resize(400, 300);
        QCOMPARE(plot.DataToPixel(QPointF(7000, 70)), QPointF(320, 80));
        QCOMPARE(plot.DataToPixel(QPointF(0, 0)), QPointF(80, 220));
    }

    // The spline runs through every point and is empty without two of them.
    void smoothPath_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
        QTest::newRow("eight") << 8;
    }
    void smoothPath() {
        QFETCH(int, count);
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        const QVector<QPointF> points = plot.Points().mid(0, count);
        const QPainterPath path = plot.BuildSmoothPath(points);
        if (count < 2) {
            QVERIFY(path.isEmpty());
            return;
        }
        QCOMPARE(path.elementCount(), 1 + 3 * (count - 1));
        for (int i = 0; i < count; ++i) {
            const QPointF end = path.elementAt(3 * i);
            QCOMPARE(end, plot.DataToPixel(points[i]));
        }
        if (count == 2) {
            // The ends repeat themselves, so a single segment is the straight line a third of the way in.
            const QPointF a = plot.DataToPixel(points[0]);
            const QPointF b = plot.DataToPixel(points[1]);
            QCOMPARE(QPointF(path.elementAt(1)), a + (b - a) / 6);
            QCOMPARE(QPointF(path.elementAt(2)), b - (b - a) / 6);
        }
    }

    // dx is the pointer's distance in data units to the right of point 1 (x = 1000).
    void press_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("editFlag");
        QTest::addColumn<int>("button");
        QTest::addColumn<double>("dx");
        QTest::addColumn<bool>("picked");
        QTest::newRow("on the point") << kPageSize << 1 << int(Qt::LeftButton) << 0.0 << true;
        QTest::newRow("just inside") << kPageSize << 1 << int(Qt::LeftButton) << 45.0 << true;
        QTest::newRow("just outside") << kPageSize << 1 << int(Qt::LeftButton) << 55.0 << false;
        QTest::newRow("exactly 50") << kExactSize << 1 << int(Qt::LeftButton) << 50.0 << false;
        QTest::newRow("under 50") << kExactSize << 1 << int(Qt::LeftButton) << 49.875 << true;
        QTest::newRow("edit flag off") << kPageSize << 0 << int(Qt::LeftButton) << 0.0 << false;
        QTest::newRow("right button") << kPageSize << 1 << int(Qt::RightButton) << 0.0 << false;
    }
    void press() {
        QFETCH(QSize, size);
        QFETCH(int, editFlag);
        QFETCH(int, button);
        QFETCH(double, dx);
        QFETCH(bool, picked);
        CurvePlotWidget plot;
        plot.resize(size);
        plot.EditFlag = editFlag;
        plot.setCursor(Qt::CrossCursor);
        const QPointF point = plot.Points()[1];
        PressAt(&plot, point + QPointF(dx, 0), Qt::MouseButton(button));
        QCOMPARE(plot.DragIndex(), picked ? 1 : -1);
        QCOMPARE(plot.cursor().shape(), picked ? Qt::ClosedHandCursor : Qt::ArrowCursor);
        // Without a pick a move only hovers: the point stays.
        MoveTo(&plot, QPointF(5500, 65), Qt::MouseButton(button));
        QCOMPARE(plot.Points()[1] != point, picked);
        ReleaseAt(&plot, QPointF(5500, 65));
        QCOMPARE(plot.DragIndex(), -1);
        QCOMPARE(plot.cursor().shape(), Qt::ArrowCursor);
    }

    void hover_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("editFlag");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<int>("hovered");
        QTest::newRow("on the point") << kPageSize << 0 << QPointF(0, 0) << 1;
        QTest::newRow("50 right") << kPageSize << 0 << QPointF(50, 0) << 1;
        QTest::newRow("65 right") << kPageSize << 0 << QPointF(65, 0) << -1;
        QTest::newRow("50 left, edit flag on") << kPageSize << 1 << QPointF(-50, 0) << 1;
        QTest::newRow("65 left, edit flag on") << kPageSize << 1 << QPointF(-65, 0) << -1;
        QTest::newRow("exactly 60") << kExactSize << 0 << QPointF(60, 0) << -1;
        QTest::newRow("under 60") << kExactSize << 0 << QPointF(59.875, 0) << 1;
        QTest::newRow("exactly 60, edit flag on") << kExactSize << 1 << QPointF(60, 0) << -1;
        QTest::newRow("y decides too") << kExactSize << 0 << QPointF(0, 59.75) << 1;
        QTest::newRow("between points") << kPageSize << 0 << QPointF(500, 0) << -1;
    }
    void hover() {
        QFETCH(QSize, size);
        QFETCH(int, editFlag);
        QFETCH(QPointF, offset);
        QFETCH(int, hovered);
        CurvePlotWidget plot;
        plot.resize(size);
        plot.EditFlag = editFlag;
        MoveTo(&plot, plot.Points()[1] + offset);
        QCOMPARE(plot.HoverIndex(), hovered);
        QCOMPARE(plot.DragIndex(), -1);
        // Moving away clears it again.
        MoveTo(&plot, QPointF(6500, 5));
        QCOMPARE(plot.HoverIndex(), -1);
    }

    void hoverShowsItsValueBox() {
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        const QPointF pixel = plot.DataToPixel(plot.Points()[1]);
        // Inside the 160 x 90 box above the point, clear of its text and of every dot. Without the box the
        // pixel is the background or lighter; the box darkens whatever lies below it.
        const QPoint probe(int(pixel.x()), int(pixel.y() - 80) - 20 + 6);
        const QColor grey(128, 128, 128);
        QVERIFY(qGray(Render(&plot, grey).pixel(probe)) >= 128);
        MoveTo(&plot, plot.Points()[1]);
        QVERIFY(qGray(Render(&plot, grey).pixel(probe)) < 80);
        MoveTo(&plot, QPointF(6500, 5));
        QVERIFY(qGray(Render(&plot, grey).pixel(probe)) >= 128);
    }

    // The dragged point follows the pointer but stays inside the axes; it may pass its neighbours.
    void dragKeepsTheLimits_data() {
        QTest::addColumn<QPointF>("target");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("inside") << QPointF(1500, 33.25) << QPointF(1500, 33.25);
        QTest::newRow("past its neighbour") << QPointF(2500, 20) << QPointF(2500, 20);
        QTest::newRow("past the right edge") << QPointF(9000, 30) << QPointF(7000, 30);
        QTest::newRow("below the x axis") << QPointF(3000, -10) << QPointF(3000, 0);
        QTest::newRow("left and above") << QPointF(-500, 90) << QPointF(0, 70);
    }
    void dragKeepsTheLimits() {
        QFETCH(QPointF, target);
        QFETCH(QPointF, expected);
        CurvePlotWidget plot;
        plot.resize(kExactSize);
        plot.EditFlag = 1;
        const QVector<QPointF> before = plot.Points();
        PressAt(&plot, before[1]);
        QCOMPARE(plot.DragIndex(), 1);
        MoveTo(&plot, target, Qt::LeftButton);
        QCOMPARE(plot.Points()[1], expected);
        ReleaseAt(&plot, target);
        QCOMPARE(plot.DragIndex(), -1);
        QCOMPARE(plot.cursor().shape(), Qt::ArrowCursor);
        QVector<QPointF> after = before;
        after[1] = expected;
        QCOMPARE(plot.Points(), after);
        // Once released, moving the pointer moves nothing.
        MoveTo(&plot, QPointF(4000, 40));
        QCOMPARE(plot.Points(), after);
    }

    void normalPlotDraws() {
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        const QImage image = Render(&plot);
        QVERIFY(PaintedPixels(image) > 10000);
        // The area under the curve is shaded pink, between the ticks and just above the x axis.
        const QRgb shade = image.pixel(plot.DataToPixel(QPointF(2500, 2)).toPoint());
        QVERIFY(qAlpha(shade) > 0);
        QVERIFY(qRed(shade) > qGreen(shade));
        // Above every point the plot is bare apart from the grid.
        QCOMPARE(qAlpha(image.pixel(plot.DataToPixel(QPointF(2700, 69)).toPoint())), 0);
        // The axis titles are painted.
        CurveAxisTitleX = "Speed";
        CurveAxisTitleY = "Sensitivity";
        const QImage titled = Render(&plot);
        CurveAxisTitleX.clear();
        CurveAxisTitleY.clear();
        QVERIFY(PaintedPixels(titled) > PaintedPixels(image));
    }

    // Not wider or not taller than the two margins: nothing is painted, and the mouse changes nothing
    // (not even a drag that was going on before the plot shrank).
    void smallPlotDrawsNothingAndIgnoresTheMouse_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("160 wide") << QSize(160, 381);
        QTest::newRow("160 high") << QSize(721, 160);
        QTest::newRow("narrower") << QSize(100, 381);
        QTest::newRow("lower") << QSize(721, 120);
        QTest::newRow("empty") << QSize(0, 0);
    }
    void smallPlotDrawsNothingAndIgnoresTheMouse() {
        QFETCH(QSize, size);
        CurvePlotWidget plot;
        plot.resize(kPageSize);
        plot.EditFlag = 1;
        MoveTo(&plot, plot.Points()[1]);
        PressAt(&plot, plot.Points()[1]);
        QCOMPARE(plot.DragIndex(), 1);
        const QVector<QPointF> before = plot.Points();

        plot.resize(size);
        for (const QPointF pixel : {QPointF(40, 40), QPointF(80, 80), QPointF(150, 100), QPointF(-20, 300)}) {
            Send(&plot, QEvent::MouseMove, pixel, Qt::NoButton, Qt::LeftButton);
            Send(&plot, QEvent::MouseButtonPress, pixel, Qt::LeftButton, Qt::LeftButton);
            Send(&plot, QEvent::MouseMove, pixel, Qt::NoButton, Qt::NoButton);
        }
        QCOMPARE(plot.Points(), before);
        QCOMPARE(plot.DragIndex(), 1);
        QCOMPARE(plot.HoverIndex(), 1);
        QCOMPARE(plot.cursor().shape(), Qt::ClosedHandCursor);
        if (!size.isEmpty()) QCOMPARE(PaintedPixels(Render(&plot)), 0);

        // One pixel more each way and it draws again.
        plot.resize(161, 161);
        QVERIFY(PaintedPixels(Render(&plot)) > 0);
    }
};

QTEST_MAIN(TestCurvePlot)
#include "tst_curveplot.moc"
