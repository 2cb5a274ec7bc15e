#pragma once
// Writing a file into a folder the program does not own (a statements
// folder, say), where anything may stand under the file's name: a link to
// the account file that came out of an archive, a folder, a device.
#include <QByteArray>
#include <QString>

namespace platform {

// Writes `bytes` as the file `name` of `folder`, replacing what stands under
// that name as a name: a symbolic link there is replaced by the new file and
// its target is never opened. The bytes go to a new file of the folder first
// and are renamed over the name, so a reader never sees half a file. False,
// with nothing changed, when the name is a folder or the folder cannot be
// written.
bool replaceFileInFolder(const QString& folder, const QString& name, const QByteArray& bytes);

} // namespace platform
