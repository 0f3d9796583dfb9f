#pragma once
// 20K-scanning switch of the advanced page: a click sends Scan20K at once; a refused send puts the
// switch back.

#include <QFrame>
#include <QString>

class Ui_KFPS20;

class KFPS20 : public QFrame {
    Q_OBJECT
public:
    explicit KFPS20(QWidget* parent = nullptr);
    ~KFPS20() override;

    // Sets the switch; sends nothing (only clicks send).
    void SetChecked(bool on);
    void SetTipsPos(int x, int y);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_KFPS_clicked(bool checked);

private:
    Ui_KFPS20* ui;
    QString PictureFolder;
};
