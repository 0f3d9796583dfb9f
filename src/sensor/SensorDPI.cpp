#include "sensor/SensorDPI.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <mutex>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "sensor/LevelColorDialog.h"
#include "sensor/SensorHeader.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorDPI.h"
#include "widgets/ColorText.h"

namespace {

const char* const kDefaultColors[SensorDPI::kLevels] = {"255,0,0",   "0,0,255",   "0,255,0", "255,255,0",
                                                        "0,255,255", "255,0,255", "159,0,0", "0,212,252"};
const int kAnchorX[SensorDPI::kLevels] = {27, 118, 209, 300, 391, 483, 573, 664};
constexpr int kAnchorY = 154;

// Right edge of the last shown level's drop zone, by level-count index 0 to 6.
const int kDropLimits[] = {69, 160, 251, 342, 433, 524, 612};

// Drop windows (pixels right of the current anchor) for 1 to 7 levels to the right and the left.
struct DropWindow {
    int low;
    int high;
};
const DropWindow kRightWindows[] = {{78, 129},  {168, 214}, {264, 317}, {361, 389},
                                    {443, 495}, {538, 591}, {623, 669}};
const DropWindow kLeftWindows[] = {{-102, -51},  {-192, -144}, {-284, -236}, {-369, -327},
                                   {-465, -411}, {-556, -504}, {-646, -599}};

int LevelStepOf(int delta) {
    for (int n = 0; n < 7; ++n) {
        if (delta >= kRightWindows[n].low && delta <= kRightWindows[n].high) return n + 1;
        if (delta >= kLeftWindows[n].low && delta <= kLeftWindows[n].high) return -(n + 1);
    }
    return 0;
}

bool ValidLevel(int index) {
    return index >= 0 && index < SensorDPI::kLevels;
}

bool LibraryOnline() {
    const QByteArray path = CurrentDevicePathCopy();
    return !path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData());
}

int Number(const QString& text) {
    return text.trimmed().toInt();
}

struct Segment {
    int min;
    int max;
    int step;
};

// The loaded segments of the DPI range, or none when their count is not 1 to 4.
QVector<Segment> Segments() {
    QVector<Segment> segments;
    const int n = DpiRangeTable.DpiSegmentCount;
    if (n < 1 || n > 4) return segments;
    for (int k = 0; k < n; ++k) {
        const DpiSegment& s = DpiRangeTable.DpiSegments[size_t(k)];
        segments.append({Number(s.Min), Number(s.Max), Number(s.Step)});
    }
    return segments;
}

QString GroupOfCurrentDevice() {
    return "Drive" + QString::number(CurrentDeviceCopy().DriveIndex + 1);
}

}  // namespace

SensorDPI::SensorDPI(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorDPI),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      LevelButtonGroup(new QButtonGroup(this)),
      SwatchButtonGroup(new QButtonGroup(this)),
      ColorDialog(new LevelColorDialog(this)),
      MarkerDragArea(0, 0, 728, 194) {
    ui->setupUi(this);
    connect(ColorDialog, &LevelColorDialog::ColorChosen, this, &SensorDPI::SetColor);
    for (int i = 0; i < kLevels; ++i) {
        MarkerAnchors[size_t(i)] = QPoint(kAnchorX[i], kAnchorY);
        LevelColors[size_t(i)] = kDefaultColors[i];
    }
    ButtonColorList = ConfigIni::GetInstance()->GetStringList("Option", "ButtonColor");
    ButtonTextColor = ColorText(ButtonColorList);
    LevelButtonGroup->setExclusive(true);
    SwatchButtonGroup->setExclusive(true);

    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->label_8->setStyleSheet(
        "#label_8{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        PictureFolder +
        "Level.png);}#label_8:hover{border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: url(" +
        PictureFolder + "LevelHover.png);}");
    ui->ChooseEvent->setStyleSheet(SensorStyles::ComboSheet(PictureFolder, false));
    SensorStyles::InstallPopupView(ui->ChooseEvent);
    ui->ChooseEvent->setMaxVisibleItems(5);

    QList<QWidget*> keepPlace = {ui->horizontalSliderC, ui->spinBoxA, ui->ReduceLevelA, ui->AddLevelA};
    for (int i = 0; i < kLevels; ++i) keepPlace << LevelButton(i);
    for (QWidget* widget : keepPlace) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    for (int i = 0; i < kLevels; ++i) {
        LevelButtonRects[size_t(i)] = LevelButton(i)->geometry();
        SwatchRects[size_t(i)] = Swatch(i)->geometry();
    }

    ui->horizontalSliderC->setStyleSheet(
        "QSlider::groove:horizontal { border-radius: 2px;  height: 5px;background:#ffffff}"
        "QSlider:handle:horizontal{ border-radius: 2px;width:  6px;height: 18px;  margin-top: "
        "-9px;margin-left: "
        "0px; margin-bottom: -9px;margin-right: 0px; border-image: url(" +
        PictureFolder +
        "HuaKuai.png);} QSlider:sub-page:horizontal{border-radius: 2px;background-color: rgb(" +
        OptionColorText("SliderColor") +
        ";);}QSlider:add-page:horizontal{border-radius: 2px;background-color: rgb(255, 255, 255);}");
    ui->spinBoxA->setStyleSheet(SensorStyles::NumberSheet("LinEditColorSecond", true));
    ui->horizontalSliderC->installEventFilter(this);
    ui->ReduceLevelA->setStyleSheet(
        "#ReduceLevelA{background-image: url(" + PictureFolder +
        "Reduce.png);border:0px;background-position:center;background-repeat:no-repeat;}");
    ui->AddLevelA->setStyleSheet(
        "#AddLevelA{background-image: url(" + PictureFolder +
        "Add.png);border:0px;background-position:center;background-repeat:no-repeat;}");

    for (int i = 0; i < kLevels; ++i) {
        QToolButton* button = LevelButton(i);
        QToolButton* swatch = Swatch(i);
        button->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
            ButtonTextColor + ";);background-image: url(" + PictureFolder + "MinA.png);}");
        swatch->setStyleSheet(
            "#" + swatch->objectName() +
            "{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
            "background-color: rgb(255, 0, 0);background-image: url(" +
            PictureFolder + "MinB.png);}");
        LevelButtonGroup->addButton(button);
        SwatchButtonGroup->addButton(swatch);
        connect(button, &QToolButton::toggled, this, [this, i](bool checked) { LevelToggled(i, checked); });
        connect(button, &QToolButton::clicked, this, [this] { SelectLevelLayout(PreviousLevel); });
        connect(swatch, &QToolButton::toggled, this, [this, i](bool checked) { SwatchToggled(i, checked); });
        connect(swatch, &QToolButton::clicked, this, [this, i] {
            // A level the device did not take gets no colour either.
            if (!Swatch(i)->isChecked()) return;
            const QStringList rgb = LevelColors[size_t(i)].split(',');
            ColorDialog->Open(QColor(rgb.value(0).toInt(), rgb.value(1).toInt(), rgb.value(2).toInt()));
        });
    }
}

SensorDPI::~SensorDPI() {
    delete ui;
}

QToolButton* SensorDPI::LevelButton(int index) const {
    QToolButton* const buttons[kLevels] = {ui->BlueButton,      ui->BrightRedButton,  ui->RedButton,
                                           ui->YellowButton,    ui->GreenButton,      ui->PurpleButton,
                                           ui->LightBlueButton, ui->LightYellowButton};
    return buttons[index];
}

QToolButton* SensorDPI::Swatch(int index) const {
    QToolButton* const swatches[kLevels] = {ui->BlueButtonA,      ui->BrightRedButtonA,  ui->RedButtonA,
                                            ui->YellowButtonA,    ui->GreenButtonA,      ui->PurpleButtonA,
                                            ui->LightBlueButtonA, ui->LightYellowButtonA};
    return swatches[index];
}

int SensorDPI::LevelValue(int index) const {
    return ValidLevel(index) ? Number(LevelButton(index)->text()) : 0;
}

int SensorDPI::CheckedLevel() const {
    for (int i = 0; i < kLevels; ++i)
        if (LevelButton(i)->isChecked()) return i;
    return -1;
}

void SensorDPI::LevelButtonLook(int index, bool current) {
    const QRect saved = LevelButtonRects[size_t(index)];
    LevelButton(index)->setGeometry(current ? QRect(saved.x() - 7, saved.y() - 7, 68, 70)
                                            : QRect(saved.x(), saved.y(), 54, 56));
    LevelButton(index)->setStyleSheet(
        "QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
        "color: "
        "rgb(" +
        ButtonTextColor + ";);background-image: url(" + PictureFolder + (current ? "MaxA.png" : "MinA.png") +
        ");}");
}

void SensorDPI::SwatchLook(int index, bool current, bool grow) {
    const QRect saved = SwatchRects[size_t(index)];
    if (grow)
        Swatch(index)->setGeometry(current ? QRect(saved.x() - 8, saved.y() + 6, 66, 14)
                                           : QRect(saved.x(), saved.y(), 50, 12));
    Swatch(index)->setStyleSheet(
        "QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
        "background-color:rgb(" +
        LevelColors[size_t(index)] + ");background-image: url(" + PictureFolder +
        (current ? "MaxB.png" : "MinB.png") + ");}");
}

void SensorDPI::ShowLevelValue(int value) {
    // Shown, not a change of the user: the slider's handling (which writes the value into the checked
    // level's text and may find the mouse offline) stays out of it.
    {
        const QSignalBlocker blocker(ui->horizontalSliderC);
        ui->horizontalSliderC->setValue(value);
    }
    ui->spinBoxA->setValue(value);
    SendArmed = true;
}

int SensorDPI::HeldValue() const {
    const int level = CheckedLevel();
    return level >= 0 ? LevelValue(level) : ui->spinBoxA->value();
}

// ---- Host operations ----

void SensorDPI::SetTitleText(const QString& text) {
    ui->label->setText(text);
}

void SensorDPI::SetSliderMinimum(int value) {
    ui->horizontalSliderC->setMinimum(value);
}

void SensorDPI::SetSliderMaximum(int value) {
    ui->horizontalSliderC->setMaximum(value);
}

void SensorDPI::SetSliderValue(int value) {
    ui->horizontalSliderC->setValue(value);
}

bool SensorDPI::BlockSliderSignals(bool block) {
    return ui->horizontalSliderC->blockSignals(block);
}

void SensorDPI::SetSliderEnabled(bool enabled) {
    ui->horizontalSliderC->setEnabled(enabled);
}

void SensorDPI::EnableSlider() {
    ui->horizontalSliderC->setEnabled(true);
    ui->horizontalSliderC->blockSignals(false);
}

void SensorDPI::SetSpinValue(int value) {
    ui->spinBoxA->setValue(value);
}

bool SensorDPI::BlockLevelCountSignals(bool block) {
    return ui->ChooseEvent->blockSignals(block);
}

void SensorDPI::ClearLevelCountItems() {
    const QSignalBlocker blocker(ui->ChooseEvent);
    ui->ChooseEvent->clear();
}

void SensorDPI::InsertLevelCountItem(int index, const QString& text) {
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPI::SetLevelCountIndex(int index) {
    if (!ValidLevel(index)) return;
    LevelCountIndex = index;
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPI::SetCurrentLevelIndex(int index) {
    if (ValidLevel(index)) CurrentLevel = index;
}

void SensorDPI::MoveLevelMarker(int n) {
    if (n < 1 || n > kLevels) return;
    CurrentLevel = n - 1;
    ui->label_8->move(MarkerAnchors[size_t(n - 1)]);
}

void SensorDPI::SetLevelText(int index, const QString& text) {
    if (ValidLevel(index)) LevelButton(index)->setText(text);
}

void SensorDPI::SetLevelColor(int index, const QString& hashRgb) {
    if (!ValidLevel(index)) return;
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = hashRgb.mid(1 + 2 * i, 2).toInt(&ok, 16);
        parts << QString::number(ok ? value : 0);
    }
    LevelColors[size_t(index)] = parts.join(',');
}

void SensorDPI::SetSelectedSwatch(int index) {
    if (!ValidLevel(index)) return;
    for (int k = 0; k < kLevels; ++k) SwatchLook(k, k == index, k != index);
}

void SensorDPI::SetCurrentLevel(int index) {
    if (!ValidLevel(index)) return;
    LevelButton(index)->setChecked(true);
    for (int k = 0; k < kLevels; ++k) SwatchToggled(k, k == index);
    PostMsg::GetInstance()->EmitSigAddSensor(LevelValue(index));
}

void SensorDPI::ShowLevels(int lastIndex) {
    if (!ValidLevel(lastIndex)) return;
    for (int k = 0; k < kLevels; ++k) {
        LevelButton(k)->setVisible(k <= lastIndex);
        Swatch(k)->setVisible(k <= lastIndex);
    }
}

void SensorDPI::LoadDriveDefaults() {
    const QString group = GroupOfCurrentDevice();
    const QStringList colors = ConfigIni::GetInstance()->GetStringList(group, "DPIColor");
    // Whole triples only; from the ninth on they are skipped.
    for (int k = 0; 3 * k + 2 < colors.size() && k < kLevels; ++k)
        LevelColors[size_t(k)] = ColorText(colors.mid(3 * k, 3), LevelColors[size_t(k)]);
    const QStringList grades = ConfigIni::GetInstance()->GetStringList(group, "DPIGrade");
    if (grades.size() < kLevels) return;
    for (int k = 0; k < kLevels; ++k) {
        SwatchLook(k, false, true);
        LevelButton(k)->setText(grades[k]);
    }
}

// ---- Display routines ----

void SensorDPI::SelectLevelLayout(int index) {
    for (int k = 0; k < kLevels; ++k) {
        LevelButton(k)->blockSignals(true);
        Swatch(k)->blockSignals(true);
    }
    if (ValidLevel(index)) {
        ShowLevelValue(LevelValue(index));
        LevelButton(index)->setChecked(true);
        Swatch(index)->setChecked(true);
        for (int k = 0; k < kLevels; ++k) {
            LevelButtonLook(k, k == index);
            SwatchLook(k, k == index, true);
        }
        ui->label_8->move(MarkerAnchors[size_t(index)]);
    }
    for (int k = 0; k < kLevels; ++k) {
        LevelButton(k)->blockSignals(false);
        Swatch(k)->blockSignals(false);
    }
    ui->horizontalSliderC->blockSignals(false);
}

void SensorDPI::ShrinkOtherSwatches(int index) {
    if (!ValidLevel(index)) return;
    for (int k = 0; k < kLevels; ++k)
        if (k != index) SwatchLook(k, false, true);
}

void SensorDPI::RestyleSwatch(int index) {
    if (ValidLevel(index)) SwatchLook(index, Swatch(index)->isChecked(), false);
}

void SensorDPI::CheckLevelButton(int index) {
    if (UiLive && !LibraryOnline() && !SensorPageRefreshing) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    SendArmed = false;
    if (ValidLevel(index)) LevelButton(index)->setChecked(true);
}

// ---- Colour ----

void SensorDPI::SetColor(QColor color) {
    if (!IsDeviceOnline()) return;
    int k = -1;
    for (int i = 0; i < kLevels && k < 0; ++i)
        if (Swatch(i)->isChecked()) k = i;
    if (k < 0) return;
    const QString before = LevelColors[size_t(k)];
    LevelColors[size_t(k)] = QStringList{QString::number(color.red()), QString::number(color.green()),
                                         QString::number(color.blue())}
                                 .join(',');
    if (UiLive && !SensorPageRefreshing && !SetDpiLevelColor(k, color.red(), color.green(), color.blue()))
        LevelColors[size_t(k)] = before;
    RestyleSwatch(k);
}

// ---- Level buttons and swatches ----

void SensorDPI::LevelToggled(int index, bool checked) {
    LevelButtonLook(index, checked);
    if (!checked || !UiLive || SensorPageRefreshing) return;
    PreviousLevel = CurrentLevel;
    CurrentLevel = index;
    if (!SetCurrentDpiLevel(index)) {
        SelectLevelLayout(PreviousLevel);
        CurrentLevel = PreviousLevel;
        return;
    }
    ShrinkOtherSwatches(index);
    Swatch(index)->setChecked(true);
    CurrentLevel = PreviousLevel = index;
    ui->label_8->move(MarkerAnchors[size_t(index)]);
    PostMsg::GetInstance()->EmitSigAddSensor(LevelValue(index));
}

void SensorDPI::SwatchToggled(int index, bool checked) {
    SwatchLook(index, checked, true);
    if (!checked) return;
    LevelButton(index)->setChecked(true);
    // Not taken: the device's level is laid out again and stays shown.
    if (CheckedLevel() != index) return;
    ShowLevelValue(LevelValue(index));
}

// ---- Level count ----

void SensorDPI::on_ChooseEvent_currentIndexChanged(int index) {
    if (!ValidLevel(index)) return;
    const int before = LevelCountIndex;
    auto putBack = [this, before] {
        const QSignalBlocker blocker(ui->ChooseEvent);
        ui->ChooseEvent->setCurrentIndex(before);
    };
    if (!IsDeviceOnline()) {
        putBack();
        return;
    }
    if (SensorPageRefreshing) {
        LevelCountIndex = index;
        return;
    }
    LevelBeforeCountChange = CurrentLevel;
    const int c = CurrentLevel;
    const bool exchange = ValidLevel(c) && c > index;
    // The device first: on refusal the panel stays as it was.
    if (UiLive) {
        bool sent = false;
        if (exchange) {
            DpiLevelRecord recordA{};
            DpiLevelRecord recordC{};
            {
                std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
                recordA = CurrentFlashData.DpiLevels[index];
                recordC = CurrentFlashData.DpiLevels[c];
            }
            sent = ExchangeDpiLevels(recordA, recordC, index, c, index);
        } else {
            sent = SetDpiLevelCount(index + 1);
        }
        if (!sent) {
            putBack();
            return;
        }
    }
    LevelCountIndex = index;
    if (exchange) {
        const QString valueA = LevelButton(index)->text();
        const QString valueC = LevelButton(c)->text();
        std::swap(LevelColors[size_t(index)], LevelColors[size_t(c)]);
        RestyleSwatch(c);
        LevelButton(c)->setText(valueA);
        RestyleSwatch(index);
        ui->label_8->move(MarkerAnchors[size_t(index)]);
        LevelButton(index)->setText(valueC);
        // The device already holds the new current level: select it without sending again.
        const bool live = UiLive;
        UiLive = false;
        LevelButton(index)->setChecked(true);
        UiLive = live;
        SelectLevelLayout(index);
        CurrentLevel = PreviousLevel = index;
    }
    ShowLevels(index);
}

// ---- Slider and step buttons ----

int SensorDPI::Snap(int value) {
    int pageStep = ui->horizontalSliderC->pageStep();
    const int snapped = SnapToDpiSegments(value, &pageStep);
    ui->horizontalSliderC->setPageStep(pageStep);
    return snapped;
}

int SensorDPI::StepUp(int value) const {
    const QVector<Segment> segments = Segments();
    const int n = segments.size();
    if (n == 0) return value;
    for (int k = 0; k + 1 < n; ++k) {
        const Segment& s = segments[k];
        if (value >= s.min && value < s.max) return s.step > 0 ? value + s.step : value;
        if (value >= s.max && value < segments[k + 1].min) return segments[k + 1].min;
    }
    const Segment& last = segments[n - 1];
    if (value >= last.min && value <= last.max && last.step > 0) return value + last.step;
    return value;
}

int SensorDPI::StepDown(int value) const {
    const QVector<Segment> segments = Segments();
    for (int k = 0; k < segments.size(); ++k) {
        const Segment& s = segments[k];
        if (value >= s.min && value <= s.max) return s.step > 0 ? value - s.step : value;
        if (k + 1 < segments.size() && value > s.max && value < segments[k + 1].min)
            return segments[k + 1].min;
    }
    return value;
}

void SensorDPI::on_AddLevelA_clicked() {
    if (UiLive && !LibraryOnline()) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    SendArmed = true;
    ui->horizontalSliderC->setValue(StepUp(ui->spinBoxA->value()));
}

void SensorDPI::on_ReduceLevelA_clicked() {
    if (UiLive && !LibraryOnline()) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    SendArmed = true;
    ui->horizontalSliderC->setValue(StepDown(ui->spinBoxA->value()));
}

void SensorDPI::on_horizontalSliderC_sliderMoved(int position) {
    // With the mouse offline the drag stays the slider's (the box keeps the mouse's value); its release
    // is the act that gets the notice.
    if (LibraryOnline() || SensorPageRefreshing) ui->spinBoxA->setValue(Snap(position));
}

void SensorDPI::on_horizontalSliderC_valueChanged(int value) {
    QSlider* slider = ui->horizontalSliderC;
    if (UiLive && !SensorPageRefreshing && !LibraryOnline()) {
        // Locked until the next fill, or until a press finds the mouse back; back at the mouse's value
        // before the one notice opens.
        slider->setEnabled(false);
        ShowLevelValue(HeldValue());
        slider->blockSignals(true);
        PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeOffline);
        return;
    }
    const int v = Snap(value);
    if (v != value) {
        // The handle stands at the value shown, so a later layout of the level finds nothing to change.
        const QSignalBlocker blocker(slider);
        slider->setValue(v);
    }
    const int level = CheckedLevel();
    const QString before = level >= 0 ? LevelButton(level)->text() : QString();
    if (level >= 0) LevelButton(level)->setText(QString::number(v));
    ui->spinBoxA->setValue(v);
    if (!SendArmed) {
        SendArmed = true;
        return;
    }
    // Defaults and fills move the slider; they never write to the device.
    if (SensorPageRefreshing || DpiSendSuppressed) return;
    if (level >= 0 && !SendSensorDPI(level, v)) {
        // Back to what the mouse holds; the box followed the drag, so it is no witness of that.
        LevelButton(level)->setText(before);
        ShowLevelValue(Number(before));
        return;
    }
    PostMsg::GetInstance()->EmitSigAddSensor(v);
}

bool SensorDPI::eventFilter(QObject* watched, QEvent* event) {
    QSlider* slider = ui->horizontalSliderC;
    if (watched != slider || slider->isEnabled()) return QFrame::eventFilter(watched, event);
    // The slider locked by an offline change keeps its pointer events: they are never the window's.
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // A mouse that answers again unlocks the slider, and the press goes on to it.
            if (!UiLive || LibraryOnline()) {
                EnableSlider();
                return false;
            }
            PostMsg::GetInstance()->EmitSigMouseOffLineo(NoticeOffline);
            return true;
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return true;
        default:
            return QFrame::eventFilter(watched, event);
    }
}

// ---- Marker ----

void SensorDPI::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    if (event->buttons() == Qt::NoButton || !ui->label_8->geometry().contains(event->pos())) return;
    if (!IsDeviceOnline()) return;
    MarkerDragging = true;
    MarkerDragOffset = event->pos() - ui->label_8->pos();
}

void SensorDPI::mouseMoveEvent(QMouseEvent* event) {
    QFrame::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton || !MarkerDragging) return;
    if (MarkerDragArea.contains(event->pos()))
        ui->label_8->move(event->pos() - MarkerDragOffset);
    else
        MarkerReleased(event->pos());
}

void SensorDPI::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    MarkerReleased(event->pos());
}

void SensorDPI::MarkerReleased(const QPoint& at) {
    MarkerDragging = false;
    if (!ValidLevel(CurrentLevel)) return;
    const QPoint anchor = MarkerAnchors[size_t(CurrentLevel)];
    if (!ui->label_8->geometry().contains(at) || at.x() < 15 || at.x() > 706) {
        ui->label_8->move(anchor);
        return;
    }
    const int s = ui->ChooseEvent->currentIndex();
    if (s >= 0 && s <= 6 && at.x() > kDropLimits[s]) {
        ui->label_8->move(anchor);
        if (UiLive) SetCurrentDpiLevel(CurrentLevel);
        return;
    }
    const int n = LevelStepOf(at.x() - anchor.x());
    const int target = CurrentLevel + n;
    if (n == 0 || !ValidLevel(target)) {
        ui->label_8->move(anchor);
        return;
    }
    // Offline: one notice, marker and level stay as the device has them.
    if (UiLive && !LibraryOnline() && !SensorPageRefreshing) {
        ui->label_8->move(anchor);
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    ui->label_8->move(anchor.x() + 91 * n, anchor.y());
    // The level button's toggled handling sends the level once and lays it out, or, refused, lays the
    // level the device keeps out again.
    CheckLevelButton(target);
    const bool sends = UiLive && !SensorPageRefreshing;
    if (sends && CurrentLevel != target) {
        ui->label_8->move(MarkerAnchors[size_t(CurrentLevel)]);
        return;
    }
    if (!sends) CurrentLevel = target;
}
