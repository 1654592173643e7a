#pragma once

#include <QString>
#include <QStringList>

namespace skinart {

// Writes every generated asset below the client programs' folder: the skin folders, the tree
// icons, program icons and slider thumbs in res/, and the name-strip overlays in config/. Returns
// the files it could not write.
QStringList WriteAllAssets(const QString& client_folder);

// Where the tree icons and the slider thumbs lie below the client programs' folder, named by
// the number each program adds or loads them by.
QString TreeIconPath(int resource_id);
QString SliderThumbPath(int resource_id);
// The window icon of a program, by the program's name.
QString ProgramIconPath(const char* program);

}  // namespace skinart
