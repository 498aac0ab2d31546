#pragma once
// What vtq writes and reads at its streams, in UTF-8 inside. A Windows
// console shows text in its own code page, where every name outside it
// would become "?": there the text goes through WriteConsoleW and a typed
// line comes from ReadConsoleW. Files and pipes get the UTF-8 bytes, as
// they do natively.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#ifdef __MINGW_PRINTF_FORMAT
#define VTQ_PRINTF_FORMAT(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define VTQ_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

namespace vtq::cli {

void WriteText(std::FILE* stream, std::string_view text);
void PrintText(std::FILE* stream, const char* format, ...) VTQ_PRINTF_FORMAT(2, 3);

// One line from `stream` without its line end; nullopt at the end of the
// input before anything was read. Read without a stdio buffer where it is
// a console, so that a typed passphrase leaves no copy behind.
std::optional<std::string> ReadLine(std::FILE* stream);

}  // namespace vtq::cli
