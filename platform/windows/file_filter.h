#pragma once
// A filter as QFileDialog takes it, in the form Windows' file dialogs take it.
#include <QString>

#include <string>

namespace platform {

// "Textfiles (*.txt);;All Files (*.*) (*)" → L"Textfiles\0*.txt\0All Files (*.*)\0*.*\0\0":
// each description and its patterns (separated by ';', "*" as "*.*"), every string ended
// by a null and the list by one more.
std::wstring windowsFilter(const QString& qtFilter);

} // namespace platform
