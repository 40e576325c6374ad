#pragma once

#include "platform/file/descriptor.h"

#include <QtGlobal>

// A file system reports a failed write-back through syncfs only to descriptors opened
// before the failure. The first write left for a later sync keeps such a descriptor of
// its folder, so the one sync at the end also hears of failures that happened early.
namespace quillet::file::syncwatch {

// Keeps a duplicate of this folder descriptor unless its file system is watched already.
void watch(int folderFd);
// The watching descriptor of the file system with this device number, handed over (closed
// when the caller is done); an empty one when nothing was written there since the last sync.
Descriptor take(quint64 device);

} // namespace quillet::file::syncwatch
