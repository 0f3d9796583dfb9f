#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// Decodes pictures on other threads ahead of their first use, in the order given. Installing puts them
// into the pixmap cache under the key QPixmap's own loading looks for, so style sheets and QPixmap(path)
// find them there instead of decoding them on the GUI thread. A picture that cannot be read is left to
// that loading.
class PicturePreload {
public:
    explicit PicturePreload(const QStringList& paths, int threads = 3);
    ~PicturePreload();
    PicturePreload(const PicturePreload&) = delete;
    PicturePreload& operator=(const PicturePreload&) = delete;

    // GUI thread. Installs the pictures decoded so far.
    void InstallReady();
    // GUI thread. Waits for the decodes still running and installs the rest.
    void Install();

    // The pixmap cache key under which QPixmap(path) keeps the picture of that file.
    static QString CacheKey(const QString& path);
    // The given pictures first, then those of each folder in name order.
    static QStringList Pictures(const QStringList& first, const QStringList& folders);

private:
    struct Entry {
        QString Path;
        QImage Image;
        std::atomic<bool> Decoded{false};
        bool Installed = false;
    };
    void Decode();
    void InstallEntry(Entry& entry);

    std::unique_ptr<Entry[]> entries_;
    int count_ = 0;
    std::atomic<int> next_{0};
    std::vector<std::thread> threads_;
};
