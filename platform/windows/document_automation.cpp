#include "platform/document_automation.h"

#include "platform/windows/word_automation.h"

#include <string>

namespace platform {

bool automateWord(const QString& templateName)
{
    const std::wstring name = templateName.toStdWString();
    return windows::openWordDocument(name.c_str());
}

} // namespace platform
