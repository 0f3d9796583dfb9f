#include "widgets/PicturePreload.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>

namespace {
// Each byte of the value from the lowest, low nibble first, as the toolkit writes its cache keys.
template <typename T>
void AppendHex(QString& key, T value) {
    static const char digits[] = "0123456789abcdef";
    for (unsigned i = 0; i < sizeof(T); ++i) {
        const unsigned byte = static_cast<unsigned>((static_cast<quint64>(value) >> (8 * i)) & 0xff);
        key += QLatin1Char(digits[byte & 0xf]);
        key += QLatin1Char(digits[byte >> 4]);
    }
}
}  // namespace

PicturePreload::PicturePreload(const QStringList& paths, int threads)
    : entries_(new Entry[static_cast<size_t>(paths.size())]), count_(paths.size()) {
    for (int i = 0; i < count_; ++i) entries_[i].Path = paths.at(i);
    for (int t = 0; t < qMin(qMax(threads, 1), count_); ++t) threads_.emplace_back([this] { Decode(); });
}

PicturePreload::~PicturePreload() {
    next_ = count_;  // no picture is begun after this
    for (std::thread& thread : threads_) thread.join();
}

void PicturePreload::Decode() {
    for (int i = next_++; i < count_; i = next_++) {
        entries_[i].Image = QImageReader(entries_[i].Path).read();
        entries_[i].Decoded.store(true, std::memory_order_release);
    }
}

QString PicturePreload::CacheKey(const QString& path) {
    const QFileInfo info(path);
    QString key = QLatin1String("qt_pixmap") + info.absoluteFilePath();
    AppendHex(key, static_cast<uint>(info.lastModified().toSecsSinceEpoch()));
    AppendHex(key, static_cast<quint64>(info.size()));
    AppendHex(key, 0u);  // a plain pixmap, not a bitmap
    return key;
}

QStringList PicturePreload::Pictures(const QStringList& first, const QStringList& folders) {
    QStringList paths = first;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            if (!paths.contains(path)) paths << path;
        }
    }
    return paths;
}

void PicturePreload::InstallEntry(Entry& entry) {
    entry.Installed = true;
    if (entry.Image.isNull()) return;
    const QString key = CacheKey(entry.Path);
    QPixmap cached;
    if (!QPixmapCache::find(key, &cached)) QPixmapCache::insert(key, QPixmap::fromImage(entry.Image));
    entry.Image = QImage();
}

void PicturePreload::InstallReady() {
    for (int i = 0; i < count_; ++i) {
        Entry& entry = entries_[i];
        if (!entry.Installed && entry.Decoded.load(std::memory_order_acquire)) InstallEntry(entry);
    }
}

void PicturePreload::Install() {
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
    for (int i = 0; i < count_; ++i)
        if (!entries_[i].Installed && entries_[i].Decoded.load(std::memory_order_acquire))
            InstallEntry(entries_[i]);
}
