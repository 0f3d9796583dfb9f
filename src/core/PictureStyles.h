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

}  // namespace PictureStyles
