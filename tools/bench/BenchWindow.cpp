// The toolkit's floor for the benchmark: a bare frameless 1020 x 700 window ("bare"), or the same window
// with seven stacked pages of 64 styled buttons each, switched by seven buttons placed where the device
// window has its navigation bar ("stacked").
#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QWidget>
#include <cstring>

namespace {
constexpr int kPages = 7;
constexpr int kButtonsPerPage = 64;
// The device window's navigation bar: the first button's left edge, the step between buttons, the top.
constexpr int kNavLeft = 68 + 315;
constexpr int kNavStep = 60;
constexpr int kNavTop = 20;

void AddStackedPages(QWidget* window) {
    window->setStyleSheet(
        "QWidget#window{background-color:#1B1D23;}"
        "QToolButton{border:0px;background-color:rgb(60,60,60);}"
        "QToolButton:checked{background-color:rgb(120,120,120);}"
        "QPushButton{color:rgb(255,255,255);background-color:rgb(45,48,56);border:1px solid rgb(75,75,75);"
        "border-radius:4px;}QPushButton:hover{background-color:rgb(70,74,84);}");
    auto* stack = new QStackedWidget(window);
    stack->setGeometry(68, 70, 883, 630);
    for (int p = 0; p < kPages; ++p) {
        auto* page = new QWidget;
        auto* grid = new QGridLayout(page);
        for (int b = 0; b < kButtonsPerPage; ++b)
            grid->addWidget(new QPushButton(QStringLiteral("Page %1 button %2").arg(p + 1).arg(b + 1)), b / 8,
                            b % 8);
        stack->addWidget(page);
    }
    for (int p = 0; p < kPages; ++p) {
        auto* nav = new QToolButton(window);
        nav->setCheckable(true);
        nav->setAutoExclusive(true);
        nav->setFocusPolicy(Qt::NoFocus);
        nav->setGeometry(kNavLeft + p * kNavStep, kNavTop, 30, 30);
        nav->setChecked(p == 0);
        QObject::connect(nav, &QToolButton::clicked, stack, [stack, p] { stack->setCurrentIndex(p); });
    }
}
}  // namespace

int main(int argc, char** argv) {
    const bool stacked = argc > 1 && std::strcmp(argv[1], "stacked") == 0;
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, false);
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("window"));
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setFixedSize(1020, 700);
    if (stacked) AddStackedPages(&window);
    window.show();
    return app.exec();
}
