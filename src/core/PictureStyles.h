#pragma once
// Style sheets that the pages build from their picture folders.

#include <QString>

namespace PictureStyles {

// A picture button: normal, hover and pressed pictures as centred backgrounds, no border.
QString ToolButtonSheet(const QString& folder, const QString& normal, const QString& hover,
                        const QString& pressed);

// A checkable navigation button: normal, hover and checked pictures.
QString NavigationButtonSheet(const QString& folder, const QString& normal, const QString& hover,
                              const QString& checked);

// A combo box with the pictures "ComboboxBack.png", "Menu.png", "MenuClicked.png" and
// "ComboboxTextBack.png" of the folder; colours are "r,g,b" texts (text, selection, drop-down button).
QString ComboBoxSheet(const QString& folder, const QString& text, const QString& select, const QString& back);
// The drop-down list view of such a combo box.
QString ComboViewSheet(const QString& select);
}  // namespace PictureStyles
