#pragma once
// The picture beside the status display and the program's icon, drawn rather
// than shipped as files.
#include <QPixmap>

namespace korvena::kalibro {

// The picture area's image: a fiscal printer with a receipt coming out.
QPixmap ProgramPicture(int width, int height);

// A square icon of `size` pixels.
QPixmap ProgramIconPixmap(int size);

}  // namespace korvena::kalibro
