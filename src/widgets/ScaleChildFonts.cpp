#include "widgets/ScaleChildFonts.h"

#include <QToolTip>
#include <QVector>
#include <QWidget>
#include <utility>

namespace {
void CollectTree(QWidget* widget, QVector<std::pair<QWidget*, qreal>>& tree) {
    tree.append({widget, widget->font().pointSizeF()});
    for (QObject* child : widget->children()) {
        if (child->isWidgetType()) CollectTree(static_cast<QWidget*>(child), tree);
    }
}
}  // namespace

void ScaleChildFonts(QWidget* widget, qreal factor, const QString& keepName) {
    if (!widget) return;
    // Sizes are taken before anything changes; parents come before their children.
    QVector<std::pair<QWidget*, qreal>> tree;
    CollectTree(widget, tree);
    for (const auto& [w, before] : tree) {
        if (before <= 0) continue;  // a pixel-sized font
        const qreal target = w->objectName() == keepName ? before : before * factor;
        QFont font = w->font();
        if (!qFuzzyCompare(font.pointSizeF(), target)) {
            font.setPointSizeF(target);
            w->setFont(font);
        }
        if (w->objectName() == QLatin1String("NoApear")) QToolTip::setFont(w->font());
    }
}
