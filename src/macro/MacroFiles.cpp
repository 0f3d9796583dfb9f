#include "macro/MacroFiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QRegularExpression>
#include <cstring>

#include "core/LanguageTables.h"
#include "dialogs/MacroName.h"
#include "keys/KeyTables.h"
#include "platform/WholeFile.h"

namespace MacroFiles {
namespace {

// The export file's stream version (Qt 5.6).
constexpr int kStreamVersion = 17;
// More pictures than one icon of ours ever holds mean a damaged file.
constexpr qint32 kMaxIconEntries = 64;

// Mouse-button bits in the order of the insert-event labels "2" to "6".
const int kLabelBits[MouseButtonCount] = {0x01, 0x02, 0x04, 0x10, 0x08};

bool IsMouseBit(int code) {
    return code == 0x01 || code == 0x02 || code == 0x04 || code == 0x08 || code == 0x10;
}

QString CodeText(int code) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

// "0x2B" as a number; -1 when the text is not "0x" and two upper-case hexadecimal digits.
int ParseCodeText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^0x[0-9A-F]{2}$"));
    if (!pattern.match(text).hasMatch()) return -1;
    return text.mid(2).toInt(nullptr, 16);
}

// Bytes of a data-stream byte block of exactly `size` bytes; false on a stream error or another size.
bool ReadBlock(QDataStream& in, int size, QByteArray& out) {
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length != quint32(size)) return false;
    out.resize(size);
    return in.readRawData(out.data(), size) == size;
}

// Reads past an embedded PNG (signature, then chunks up to and with IEND) without decoding it.
bool SkipPng(QDataStream& in) {
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    char signature[8];
    if (in.readRawData(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0) return false;
    for (;;) {
        quint32 length = 0;
        char type[4];
        in >> length;
        if (in.status() != QDataStream::Ok || length > 0x7FFFFFFFu) return false;
        if (in.readRawData(type, 4) != 4) return false;
        const qint64 rest = qint64(length) + 4;  // data and CRC
        if (in.skipRawData(int(rest)) != rest) return false;
        if (std::memcmp(type, "IEND", 4) == 0) return true;
    }
}

// Reads past an icon in Qt's icon stream format without building it: building one would open and
// decode every file name the stream holds.
bool SkipIcon(QDataStream& in) {
    QString key;
    in >> key;
    if (in.status() != QDataStream::Ok) return false;
    if (key.isEmpty()) return true;
    if (key == QLatin1String("QIconLoaderEngine")) {
        QString themeName;
        in >> themeName;
        return in.status() == QDataStream::Ok;
    }
    if (key != QLatin1String("QPixmapIconEngine")) return false;
    qint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count < 0 || count > kMaxIconEntries) return false;
    for (qint32 i = 0; i < count; ++i) {
        qint32 hasImage = 0;
        in >> hasImage;
        if (in.status() != QDataStream::Ok) return false;
        if (hasImage != 0 && !SkipPng(in)) return false;
        QString fileName;
        qint32 width = 0, height = 0;
        quint32 mode = 0, state = 0;
        in >> fileName >> width >> height >> mode >> state;
        if (in.status() != QDataStream::Ok) return false;
    }
    return true;
}

QByteArray UpToNul(const QByteArray& bytes) {
    const int nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

// A block of `size` bytes: the text, a NUL and zero padding; the text must leave room for the NUL.
QByteArray PaddedBlock(const QByteArray& text, int size) {
    QByteArray block = text.left(size - 1);
    block.append(QByteArray(size - block.size(), '\0'));
    return block;
}

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

QString IconName(const MacroEntry& entry) {
    if (entry.IsDelay()) return QStringLiteral("MacroTime.png");
    return entry.IsRelease() ? QStringLiteral("MacroUp.png") : QStringLiteral("MacroDown.png");
}

}  // namespace

MacroEntry MacroEntry::Event(const QString& name, bool press) {
    int kind = 1;
    int code = 0;
    EventCodeOf(name, kind, code);
    return Event(name, press, kind, code);
}

MacroEntry MacroEntry::Event(const QString& name, bool press, int kind, int code) {
    MacroEntry entry;
    entry.Type = press ? EntryType::Press : EntryType::Release;
    entry.Text = name;
    entry.Kind = kind;
    entry.Code = code;
    return entry;
}

MacroEntry MacroEntry::Delay(double ms) {
    const qint64 value = ms > 0 ? qRound64(ms) : 0;
    return DelayText(QString::number(value) + QStringLiteral("ms"));
}

MacroEntry MacroEntry::DelayText(const QString& text) {
    MacroEntry entry;
    entry.Type = EntryType::Delay;
    entry.Text = text;
    return entry;
}

bool operator==(const MacroEntry& a, const MacroEntry& b) {
    return a.Type == b.Type && a.Text == b.Text && a.Kind == b.Kind && a.Code == b.Code;
}

void EventCodeOf(const QString& name, int& kind, int& code) {
    const QStringList stored = KeyNameToCode(name);
    if (stored.size() == 2) {
        code = ParseCodeText(stored.at(0));
        kind = stored.at(1).toInt();
        if (code >= 0) return;
    }
    // A mouse-button name of another language.
    for (int language = 0; language < LanguageCount; ++language) {
        for (int i = 0; i < MouseButtonCount; ++i) {
            const QString label = LanguageText(MouseInsertEventLabels, language, QString::number(i + 2));
            if (!label.isEmpty() && label == name) {
                kind = KeyKindMouseButton;
                code = kLabelBits[i];
                return;
            }
        }
    }
    kind = KeyKindKeyboard;
    code = 0;
}

quint32 DelayValue(const QString& text) {
    QString number = text;
    number.remove(QStringLiteral("ms"));
    bool ok = false;
    const quint32 value = number.toUInt(&ok, 10);
    return ok ? value : 0;
}

bool IsValidRepeat(int value) {
    return (value >= 1 && value <= 250) || value == 253 || value == 254 || value == 255;
}

MacroFileContent ParseMacroText(const QString& text) {
    MacroFileContent content;
    QString all = text;
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    int start = 0;
    bool first = true;
    while (start < all.size()) {
        const int end = all.indexOf(QLatin1Char('\n'), start);
        const bool hasEnd = end >= 0;
        const QString line = all.mid(start, hasEnd ? end - start : -1);
        start = hasEnd ? end + 1 : all.size();

        // Parts between spaces; the line end stays with the last part.
        QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (hasEnd) {
            if (parts.isEmpty())
                parts << QStringLiteral("\n");
            else
                parts.last() += QLatin1Char('\n');
        }
        if (first) {
            first = false;
            content.HasFirstLine = true;
            content.Repeat = parts.isEmpty() ? 0 : parts.first().trimmed().toInt();
            continue;
        }
        if (parts.size() == 3) {
            const bool press = parts.at(2) == QLatin1String("0\n");
            const bool release = parts.at(2) == QLatin1String("1\n");
            if (!press && !release) continue;  // also an event line cut short
            const int kind = parts.at(1).toInt();
            const int code = ParseCodeText(parts.at(0));
            if (kind == KeyKindMouseButton && IsMouseBit(code))
                content.Entries << MacroEntry::Event(MouseCodeToName(code), press, kind, code);
            else
                content.Entries << MacroEntry::Event(KeyCodeTextToName(parts.at(0), kind), press);
        } else if (parts.size() == 1) {
            QString delay = parts.first();
            delay.remove(QLatin1Char('\n'));
            content.Entries << MacroEntry::DelayText(delay);
        }
    }
    return content;
}

bool ReadMacroFile(const QString& path, MacroFileContent& out) {
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) return false;
    out = ParseMacroText(QString::fromUtf8(file.readAll()));
    return true;
}

QString EntryLine(const MacroEntry& entry) {
    if (entry.IsDelay()) return entry.Text;
    return CodeText(entry.Code) + QLatin1Char(' ') + QString::number(entry.Kind) + QLatin1Char(' ') +
           (entry.IsRelease() ? QLatin1Char('1') : QLatin1Char('0'));
}

QString MacroText(const QString& repeatText, const QVector<MacroEntry>& entries) {
    QString text = repeatText + QLatin1Char('\n');
    for (const MacroEntry& entry : entries) text += EntryLine(entry) + QLatin1Char('\n');
    return text;
}

bool WriteMacroFile(const QString& path, const QString& repeatText, const QVector<MacroEntry>& entries) {
    return WholeFile::Write(path, MacroText(repeatText, entries).toUtf8(), QIODevice::Text);
}

bool AppendMacroLines(const QString& path, const QVector<MacroEntry>& entries) {
    QString text;
    for (const MacroEntry& entry : entries) text += EntryLine(entry) + QLatin1Char('\n');
    return WholeFile::Append(path, text.toUtf8());
}

bool ClearFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

QStringList MacroNamesIn(const QString& folder) {
    const QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("*.ini")}, QDir::Files | QDir::NoSymLinks | QDir::CaseSensitive,
        QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo& info : files) {
        if (info.isSymLink()) continue;
        const QString name = info.fileName().chopped(4);
        if (MacroName::IsValid(name)) names << name;
    }
    return names;
}

QByteArray ExportNameBytes(const QString& name) {
    QString cut = name;
    while (cut.toUtf8().size() > kNameBlockSize - 1) {
        const int last = cut.size() - 1;
        cut.chop(last > 0 && cut.at(last).isLowSurrogate() ? 2 : 1);
    }
    return cut.toUtf8();
}

bool WriteExport(const QString& path, const QString& name, const QString& repeatText,
                 const QVector<MacroEntry>& entries, const QString& pictureFolder) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    const QByteArray tag = PaddedBlock(kExportTag, kTagBlockSize);
    const QByteArray nameBlock = PaddedBlock(ExportNameBytes(name), kNameBlockSize);
    const QByteArray loop = PaddedBlock(repeatText.toLatin1(), kLoopBlockSize);
    out.writeBytes(tag.constData(), uint(tag.size()));
    out.writeBytes(nameBlock.constData(), uint(nameBlock.size()));
    out.writeBytes(loop.constData(), uint(loop.size()));
    out << qint32(entries.size());
    for (const MacroEntry& entry : entries) {
        out << entry.Text;
        out << QIcon(pictureFolder + IconName(entry));
        if (!entry.IsDelay()) out.writeBytes(entry.IsRelease() ? "1" : "0", 2);
    }
    return out.status() == QDataStream::Ok && WholeFile::Write(path, bytes);
}

ImportError ReadExport(const QString& path, ExportContent& out) {
    // A pipe or device would block the page on open or read.
    if (!QFileInfo(path).isFile()) return ImportError::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ImportError::Unreadable;
    QDataStream in(&file);
    in.setVersion(kStreamVersion);

    QByteArray tag, name, loop;
    if (!ReadBlock(in, kTagBlockSize, tag) || UpToNul(tag) != kExportTag) return ImportError::NotMacro;
    if (!ReadBlock(in, kNameBlockSize, name) || !ReadBlock(in, kLoopBlockSize, loop))
        return ImportError::NotMacro;

    bool ok = false;
    const int repeat = QString::fromLatin1(UpToNul(loop)).trimmed().toInt(&ok);
    if (!ok || !IsValidRepeat(repeat)) return ImportError::Broken;

    qint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count < 0 || count > kMaxImportItems) return ImportError::Broken;

    static const QRegularExpression delayPattern(QStringLiteral("^[0-9]{1,9}ms$"));
    QVector<MacroEntry> entries;
    for (qint32 i = 0; i < count; ++i) {
        QString text;
        in >> text;
        // The page draws its own icons; the stored one is read past.
        if (in.status() != QDataStream::Ok || !SkipIcon(in)) return ImportError::Broken;
        if (text.contains(QStringLiteral("ms"))) {
            if (!delayPattern.match(text).hasMatch()) return ImportError::Broken;
            entries << MacroEntry::DelayText(text);
            continue;
        }
        if (text.size() > kMaxImportTextLength || HasControlCharacter(text)) return ImportError::Broken;
        QByteArray marker;
        if (!ReadBlock(in, 2, marker) || marker.at(1) != '\0') return ImportError::Broken;
        if (marker.at(0) != '0' && marker.at(0) != '1') return ImportError::Broken;
        entries << MacroEntry::Event(text, marker.at(0) == '0');
    }

    const QString macroName = MacroName::CutToBytes(QString::fromUtf8(UpToNul(name)));
    if (!MacroName::IsValid(macroName)) return ImportError::BadName;
    out.Name = macroName;
    out.Repeat = repeat;
    out.Entries = entries;
    return ImportError::None;
}

MacroRecord EntriesToRecord(const QString& name, const QVector<MacroEntry>& entries) {
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    const QByteArray bytes = MacroName::CutToBytes(name).toLocal8Bit().left(int(sizeof record.Name));
    std::memcpy(record.Name, bytes.constData(), size_t(bytes.size()));
    record.NameLength = quint8(bytes.size());

    int delays = 0;
    for (int j = 0; j < entries.size(); ++j) {
        const int i = j / 2;
        if (i >= kMaxEvents) break;
        KeyEvent& event = record.Events[i];
        const MacroEntry& entry = entries.at(j);
        if (j % 2 == 0) {
            event.Kind = quint8(entry.Kind);
            event.Code = quint16(entry.Code);
            event.State = entry.IsRelease() ? 1 : 0;
            event.DelayMs = 0;
        } else {
            event.DelayMs = DelayValue(entry.Text);
            ++delays;
        }
    }
    record.EventCount = entries.isEmpty() ? 0 : quint8(qMin(delays + 1, kMaxEvents));
    return record;
}

QString RecordName(const MacroRecord& record, int button) {
    QByteArray bytes(record.Name, int(sizeof record.Name));
    bytes.replace('\0', QByteArray());
    const QString name = MacroName::CutToBytes(MacroName::WithoutForbidden(QString::fromLocal8Bit(bytes)));
    if (MacroName::IsValid(name)) return name;
    return QStringLiteral("Macro") + QString::number(button + 1);
}

QVector<MacroEntry> RecordToEntries(const MacroRecord& record) {
    QVector<MacroEntry> entries;
    const int count = qMin(int(record.EventCount), kMaxEvents);
    for (int i = 0; i < count; ++i) {
        const KeyEvent& event = record.Events[i];
        const bool press = event.State == 0;
        if (event.Kind == KeyKindMouseButton && IsMouseBit(event.Code))
            entries << MacroEntry::Event(MouseCodeToName(event.Code), press, KeyKindMouseButton, event.Code);
        else if (event.Kind == KeyKindMouseButton)
            entries << MacroEntry::Event(MouseCodeToName(event.Code), press);
        else
            entries << MacroEntry::Event(KeyCodeToName(event.Code, event.Kind), press);
        if (i + 1 < count) entries << MacroEntry::Delay(event.DelayMs);
    }
    return entries;
}

}  // namespace MacroFiles
