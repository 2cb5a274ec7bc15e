#pragma once
// Drive letters stand for folders. By default "C" is the user's home folder
// (so "C:\Banco\" is ~/Banco/) and any other letter X is /mnt/x. When the
// environment variable VORSAL_DRIVES names a folder, every letter X maps to
// its subfolder X. Texts shown to the user keep the "C:\Banco\..." form.
#include <QString>

namespace platform::Drives {

// The folder that stands for a drive letter ("C" or "C:").
QString folder(const QString& letter);

// A path in the program's own form ("C:\Banco\Casa.mdb") as a local path.
// A path without a drive letter is returned with its separators converted.
QString toLocal(const QString& windowsPath);

} // namespace platform::Drives
