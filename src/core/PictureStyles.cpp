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

QString ComboBoxSheet(const QString& folder, const QString& text, const QString& select,
                      const QString& back) {
    return "QComboBox{border: 1px solid gray; color: rgb(" + text + "); border-image: url(" + folder +
           "ComboboxBack.png);}QComboBox::drop-down:button{border-radius:5px; background:rgb(" + back +
           ");} QComboBox::down-arrow{image: url(" + folder +
           "Menu.png); right: 8px; }QComboBox::down-arrow:on{ image: url(" + folder +
           "MenuClicked.png);}QComboBox QAbstractItemView::item{height:25px;}QComboBox QAbstractItemView "
           "{outline: 0px solid gray; border: 1px  solid gray;color: rgb(" +
           text + "); border-image: url(" + folder +
           "ComboboxTextBack.png);selection-background-color: rgb(" + select + "); }";
}

QString ComboViewSheet(const QString& select) {
    return "QListView::item:selected{background-color: rgb(" + select +
           ");}QListView::item:hover{background-color: rgb(" + select + ");}";
}

}  // namespace PictureStyles
