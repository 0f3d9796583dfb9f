#pragma once
#include <QPoint>
#include <QSize>
#include <functional>

class QDialog;
class QWidget;

// The one way an opener places and runs a modal dialog. Production runs QDialog::exec(); a test
// installs a script that answers instead (clicks a button, presses a key, or runs exec itself).
//
//   MakeMacro notice;
//   ModalRunner::RunOver(notice, this, -50, -70);
class ModalRunner {
public:
    // Receives the placed dialog and returns what exec() would have returned.
    using Script = std::function<int(QDialog& dialog)>;

    // Top-left corner that centres a dialog of dialogSize over a reference of refSize at refTopLeft,
    // shifted by (dx, dy); halves are integer divisions cut toward zero.
    static QPoint CentredPosition(const QPoint& refTopLeft, const QSize& refSize, const QSize& dialogSize,
                                  int dx, int dy);

    // Moves the dialog over the reference widget (its global top-left corner and size). A null
    // reference leaves the dialog where it is. `asSize` replaces the dialog's size in the rule
    // when valid (an opener that centres a dialog as if it had another size).
    static void Place(QDialog& dialog, const QWidget* reference, int dx = 0, int dy = 0,
                      const QSize& asSize = QSize());

    // Runs the dialog modally (or through the test script) and returns its result.
    static int Run(QDialog& dialog);

    // Place, then Run.
    static int RunOver(QDialog& dialog, const QWidget* reference, int dx = 0, int dy = 0,
                       const QSize& asSize = QSize());

    // Installs a script (tests); an empty one restores exec(). GUI thread only.
    static void SetScript(Script script);
    static bool HasScript();
};

// Installs a script for one scope (tests).
class ScopedModalScript {
public:
    explicit ScopedModalScript(ModalRunner::Script script) { ModalRunner::SetScript(std::move(script)); }
    ~ScopedModalScript() { ModalRunner::SetScript(nullptr); }
    ScopedModalScript(const ScopedModalScript&) = delete;
    ScopedModalScript& operator=(const ScopedModalScript&) = delete;
};
