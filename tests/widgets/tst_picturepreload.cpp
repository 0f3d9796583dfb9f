#include <QFile>
#include <QFrame>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QtTest>

#include "widgets/PicturePreload.h"

namespace {
QString WritePicture(const QTemporaryDir& dir, const QString& name, QColor colour) {
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}
}  // namespace

class TstPicturePreload : public QObject {
    Q_OBJECT
private slots:
    void init() { QPixmapCache::clear(); }

    // QPixmap(path) takes the preloaded picture from the cache instead of decoding the file again.
    void loadingFindsThePreloadedPicture() {
        QTemporaryDir dir;
        const QString path = WritePicture(dir, "a.png", Qt::blue);
        PicturePreload preload({path});
        preload.Install();
        QPixmap cached;
        QVERIFY(QPixmapCache::find(PicturePreload::CacheKey(path), &cached));
        const QPixmap loaded(path);
        QCOMPARE(loaded.cacheKey(), cached.cacheKey());
        QCOMPARE(loaded.toImage().pixelColor(3, 3), QColor(Qt::blue));
    }

    // A style sheet's picture comes out the same with the preload.
    void styleSheetShowsThePicture() {
        QTemporaryDir dir;
        const QString path = WritePicture(dir, "b.png", QColor(10, 200, 30));
        PicturePreload preload({path});
        preload.Install();
        QFrame frame;
        frame.setObjectName("frame");
        frame.resize(24, 16);
        frame.setStyleSheet("#frame{border-image: url(" + path + ");}");
        QCOMPARE(frame.grab().toImage().pixelColor(12, 8), QColor(10, 200, 30));
    }

    // Pictures that cannot be read are left to the toolkit's loading; one already cached is kept.
    void unreadableAndCachedPictures() {
        QTemporaryDir dir;
        const QString broken = dir.filePath("broken.png");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        const QString kept = WritePicture(dir, "kept.png", Qt::red);
        const QPixmap before(kept);

        PicturePreload preload({broken, dir.filePath("missing.png"), kept});
        preload.Install();
        QPixmap cached;
        QVERIFY(!QPixmapCache::find(PicturePreload::CacheKey(broken), &cached));
        QVERIFY(QPixmap(broken).isNull());
        QVERIFY(QPixmapCache::find(PicturePreload::CacheKey(kept), &cached));
        QCOMPARE(cached.cacheKey(), before.cacheKey());
    }

    // Left without installing, it still waits for its threads.
    void destroyedBeforeInstalling() {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 8; ++i) paths << WritePicture(dir, QString("p%1.png").arg(i), Qt::green);
        { PicturePreload preload(paths); }
        QPixmap cached;
        QVERIFY(!QPixmapCache::find(PicturePreload::CacheKey(paths.first()), &cached));
    }
};

QTEST_MAIN(TstPicturePreload)
#include "tst_picturepreload.moc"
