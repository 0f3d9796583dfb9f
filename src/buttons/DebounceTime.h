#pragma once
#include <QFrame>
#include <QString>

class Ui_DebounceTime;

// The press-debounce panel of the button page: one combo box of 0..30 ms. A user's choice goes to the
// device at once; a refused one puts the last accepted item back.
class DebounceTime : public QFrame {
    Q_OBJECT
public:
    explicit DebounceTime(QWidget* parent = nullptr);
    ~DebounceTime() override;

    // Shows the device's value without sending it and emits SigDebunce once with the item text. A value
    // without an item shows none and keeps DebounceIndex.
    void SetDebounce(int value);
    // Item `index` reads the number `index` followed by `suffix`.
    void SetItemText(int index, const QString& suffix);
    // The item shown for the device's value (after a change that reached it, or a fill).
    int CurrentIndex() const;

    // Index last accepted by the device or set by a fill.
    int DebounceIndex = 0;
    QString PictureFolder;

private slots:
    void on_Debunce_currentIndexChanged(int index);

private:
    void ShowItem(int index);
    Ui_DebounceTime* ui;
};
