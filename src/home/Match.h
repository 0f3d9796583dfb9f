#pragma once
// The pairing dialog: pairs a mouse with its USB receiver. Openers create it without parent, call
// InitPair, place it and run it modally.

#include <QDialog>
#include <QString>
#include <atomic>

class QTimer;
namespace Ui {
class Match;
}

class Match : public QDialog {
    Q_OBJECT
public:
    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // Chooses the device to pair (device window's device, PairTargetDevice or the first found device)
    // and starts the wired-mode check.
    void InitPair();

    bool PairAllowed = false;
    QString CurrentPath;
    quint8 PairCid = 0;
    QString PairPath;
    QString PairVid;
    QString PairPid;
    bool PairOnCable = false;

public slots:
    void onUSBTimeupDestroy();
    void onPairTimeupDestroy();
    void onTextTimeupDestroy();
    void SlotStopTimer();
    void SlotButtonenable(int index);
    // The close button, Escape and a window close: refused while pairing runs.
    void WindowClosedSet();
    void SlotAllLanguage(int index);
    void reject() override;

private slots:
    void on_MatchButton_clicked();

private:
    void StartPair();
    // The one end of a pairing attempt (success, failure, the device gone): stops the timers, closes
    // the pairing connection and gives the device window back its activity.
    void EndPairing(int result);
    void SetButtonPicture(const QString& picture);

    Ui::Match* ui;
    QString StartPairText;
    QString PairingText;
    QString PairFailText;
    QString PairSuccessText;
};

// 0 idle, 1 pairing, 2 paired, 3 failed.
extern std::atomic<int> PairResult;
// The device connection runs with the pairing callback.
extern std::atomic<bool> PairConnectionOpen;
extern QTimer* WiredCheckTimer;
extern QTimer* PairStatusTimer;
extern QTimer* PairTextTimer;
extern int PairTextStep;
extern QString PairButtonColor;
extern QString PairPictureFolder;

// Data callback of the pairing connection (library thread).
void PairStatusCallback(const unsigned char* header, int headerLength, const unsigned char* payload,
                        int payloadLength);
