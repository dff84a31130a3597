#include "text/system_error_text.h"

#include <cerrno>

namespace text {

std::string_view describeSystemError(int code)
{
    switch (code) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "нет места на диске";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOENT:
        return "нет такого файла или папки";
    case EISDIR:
        return "это папка, а не файл";
    case ENOTDIR:
        return "часть пути — файл, а не папка";
    case EFBIG:
        return "файл превышает допустимый размер";
    case EROFS:
        return "диск доступен только для чтения";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case EIO:
        return "ошибка ввода-вывода";
    case EPIPE:
        return "читающая программа закрыла канал";
    case EBADF:
        return "поток закрыт";
    default:
        return {};
    }
}

} // namespace text
