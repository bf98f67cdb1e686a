#pragma once
// What the window does while a sequence waits on the device, written once
// for every wait (a reply, a pause, a template's packets, a bulk read on the
// worker): it repaints, runs its timers and takes a close request, but the
// technician's clicks and keys wait until the sequence has ended. A menu or
// box opened meanwhile would hold a reply's reading past its time limit, or
// start a second exchange inside the first.
//
// Exchanges stay on the UI thread (only the two bulk reads have a worker):
// the frames and their timing are then exactly those of every dialog's
// sequence, and a dialog needs no second thread to wait for.
#include <QEventLoop>

namespace korvena::kalibro {

inline constexpr QEventLoop::ProcessEventsFlags kWhileWaiting = QEventLoop::ExcludeUserInputEvents;

// Gives the window its turn, under the rule above.
void LetTheWindowLive();

}  // namespace korvena::kalibro
