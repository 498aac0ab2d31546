#include "cabinet/file_stamp.h"

#include <windows.h>

#include "base/win/wide_path.h"

namespace vtq::cabinet {

FileStamp ReadFileStamp(const std::string& path) {
  FileStamp stamp;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(base::win::WidePath(path).c_str(), GetFileExInfoStandard, &data))
    return stamp;
  FILETIME local{};
  WORD date = 0;
  WORD time = 0;
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
      FileTimeToDosDateTime(&local, &date, &time)) {
    stamp.dosDate = date;
    stamp.dosTime = time;
  }
  stamp.attributes = static_cast<uint16_t>(data.dwFileAttributes &
                                           (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  return stamp;
}

}  // namespace vtq::cabinet
