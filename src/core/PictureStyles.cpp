#include "core/PictureStyles.h"

namespace PictureStyles {

QString ToolButtonSheet(const QString& folder, const QString& normal, const QString& hover,
                        const QString& pressed) {
    return "QToolButton{border:0px;background-image: url(" + folder + normal +
           ");background-position:center;background-repeat:no-repeat;}QToolButton:hover{background-image: "
           "url(" +
           folder + hover + ");}QToolButton:pressed{background-image: url(" + folder + pressed + ");}";
}

QString NavigationButtonSheet(const QString& folder, const QString& normal, const QString& hover,
                              const QString& checked) {
    return "QToolButton{border: 0px;background-position:center;background-repeat:no-repeat;background-image: "
           "url(" +
           folder + normal + ");}QToolButton:hover{background-image:  url(" + folder + hover +
           ");}QToolButton:checked{background-image: url(" + folder + checked + ");}";
}

}  // namespace PictureStyles
