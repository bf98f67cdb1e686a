#pragma once
// Edits that show a value the device (or a texts file) gave and send it back
// on writing. Their limit holds the technician's typing only: a longer value
// is shown and written back whole, never cut to the limit, so confirming a
// dialog changes nothing on the device that nobody touched. Typing is refused
// while the text is at or over the limit; deleting brings it back down.
#include <QLineEdit>
#include <QString>

namespace korvena::kalibro {

// Lets at most `longest` characters be typed or pasted into `edit`.
void LimitTyping(QLineEdit& edit, int longest);

// Puts `text` into `edit` whole, however long.
void ShowWhole(QLineEdit& edit, const QString& text);

}  // namespace korvena::kalibro
