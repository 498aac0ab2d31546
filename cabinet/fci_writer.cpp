#include "cabinet/fci_writer.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <fci.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

#include "base/scoped_handle.h"
#include "base/win/wide_path.h"
#include "cabinet/cabinet_error.h"
#include "cabinet/entry_name.h"
#include "cabinet/file_stamp.h"

namespace vtq::cabinet {
namespace {

struct FciTraits {
  using Handle = HFCI;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { FCIDestroy(handle); }
};
using FciContext = base::ScopedHandle<FciTraits>;

// FCI takes names as narrow text in fixed fields of 256 bytes, and hands
// them back to the callbacks to open. The cabinet and the temporary files
// are given to it as short stand-ins that no file name can be ('|' is
// refused by every file system); the callbacks open what they stand for by
// its wide name, however long. Sources are handed over in UTF-8.
constexpr std::string_view kCabinetStandIn = "|cabinet|";
constexpr std::string_view kTemporaryStandIn = "|temporary|";

// Everything the callbacks reach through FCI's user pointer.
struct Session {
  const PackPlan& plan;
  const PercentCallback& progress;
  uint64_t bytesTaken = 0;
  int16_t lastPercent = -1;
  std::exception_ptr callbackFailure;
  std::string currentSource;
  std::string currentStoredName;
  std::vector<std::wstring> temporaries;

  std::wstring SystemName(std::string_view name) const {
    if (name == kCabinetStandIn)
      return base::win::WidePath(plan.cabinet);
    if (name.starts_with(kTemporaryStandIn)) {
      const size_t index = std::strtoul(name.data() + kTemporaryStandIn.size(), nullptr, 10);
      if (index < temporaries.size())
        return temporaries[index];
    }
    return base::win::WidePath(name);
  }
};

Session& Of(void* pv) {
  return *static_cast<Session*>(pv);
}

FNFCIALLOC(Allocate) {
  return std::malloc(cb);
}

FNFCIFREE(Release) {
  std::free(memory);
}

FNFCIOPEN(OpenFile) {
  const int fd = _wopen(Of(pv).SystemName(pszFile).c_str(), oflag, pmode);
  if (fd == -1)
    *err = errno;
  return fd;
}

FNFCIREAD(ReadFile) {
  (void)pv;
  const int got = _read(static_cast<int>(hf), memory, cb);
  if (got == -1)
    *err = errno;
  return static_cast<UINT>(got);
}

FNFCIWRITE(WriteFile) {
  (void)pv;
  const int put = _write(static_cast<int>(hf), memory, cb);
  if (put == -1)
    *err = errno;
  return static_cast<UINT>(put);
}

FNFCICLOSE(CloseFile) {
  (void)pv;
  const int result = _close(static_cast<int>(hf));
  if (result == -1)
    *err = errno;
  return result;
}

FNFCISEEK(SeekFile) {
  (void)pv;
  const long result = _lseek(static_cast<int>(hf), dist, seektype);
  if (result == -1)
    *err = errno;
  return result;
}

FNFCIDELETE(DeleteFileCallback) {
  const int result = _wunlink(Of(pv).SystemName(pszFile).c_str());
  if (result == -1)
    *err = errno;
  return result;
}

// FCI creates the file itself (exclusive), so only a free name is handed on.
BOOL DIAMONDAPI TempFileName(char* pszTempName, int cbTempName, void* pv) {
  Session& session = Of(pv);
  wchar_t folder[MAX_PATH];
  wchar_t name[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH || !GetTempFileNameW(folder, L"vcb", 0, name))
    return FALSE;
  DeleteFileW(name);
  const std::string standIn =
      std::string(kTemporaryStandIn) + std::to_string(session.temporaries.size());
  if (standIn.size() >= static_cast<size_t>(cbTempName))
    return FALSE;
  session.temporaries.emplace_back(name);
  std::strcpy(pszTempName, standIn.c_str());
  return TRUE;
}

FNFCIFILEPLACED(FilePlaced) {
  (void)pccab, (void)pszFile, (void)cbFile, (void)fContinuation, (void)pv;
  return 0;
}

// The size check keeps everything in one cabinet; a request for a next one
// means the estimate was wrong, and packing stops.
FNFCIGETNEXTCABINET(NextCabinet) {
  (void)pccab, (void)cbPrevCab, (void)pv;
  return FALSE;
}

FNFCISTATUS(Status) {
  (void)cb1;
  Session& session = Of(pv);
  if (typeStatus != statusFile || session.callbackFailure)
    return session.callbackFailure ? -1 : 0;
  session.bytesTaken += cb2;
  const uint64_t total = session.plan.totalBytes == 0 ? 1 : session.plan.totalBytes;
  const auto percent =
      static_cast<int16_t>(std::min<uint64_t>(100, session.bytesTaken * 100 / total));
  if (percent == session.lastPercent)
    return 0;
  session.lastPercent = percent;
  try {
    session.progress(percent);
  } catch (...) {
    session.callbackFailure = std::current_exception();
    return -1;
  }
  return 0;
}

FNFCIGETOPENINFO(OpenInfo) {
  Session& session = Of(pv);
  const FileStamp stamp = ReadFileStamp(pszName);
  *pdate = stamp.dosDate;
  *ptime = stamp.dosTime;
  *pattribs = stamp.attributes | NameAttributes(session.currentStoredName);
  const int fd = _wopen(base::win::WidePath(pszName).c_str(), _O_RDONLY | _O_BINARY);
  if (fd == -1)
    *err = errno;
  session.currentSource = pszName;
  return fd;
}

std::string FailureText(const ERF& erf, const Session& session) {
  const std::string cabinet = Quoted(session.plan.cabinet);
  switch (erf.erfOper) {
    case FCIERR_OPEN_SRC:
      return "The file " + Quoted(session.currentSource) + " could not be opened for packing.";
    case FCIERR_READ_SRC:
      return "The file " + Quoted(session.currentSource) + " could not be read for packing.";
    case FCIERR_ALLOC_FAIL:
      return "There was not enough memory to make the cabinet " + cabinet + ".";
    case FCIERR_TEMP_FILE:
      return "A temporary file for the cabinet " + cabinet +
             " could not be written; the temporary folder may be full.";
    case FCIERR_CAB_FILE:
      return "The cabinet " + cabinet +
             " could not be written; its disk may be full or its folder missing.";
    case FCIERR_USER_ABORT:
      return "Packing the cabinet " + cabinet + " was stopped.";
    default:
      return "The cabinet " + cabinet + " could not be made (cabinet library error " +
             std::to_string(erf.erfOper) + ").";
  }
}

}  // namespace

void WriteCabinetWithFci(const PackPlan& plan, const PercentCallback& progress) {
  Session session{plan, progress, 0, -1, nullptr, {}, {}, {}};
  CCAB ccab{};
  ccab.cb = 0x7FFFFFFF;
  ccab.cbFolderThresh = 0x7FFFFFFF;
  ccab.setID = 0x5651;
  ccab.iCab = 1;
  std::strcpy(ccab.szCab, kCabinetStandIn.data());

  ERF erf{};
  FciContext fci(FCICreate(&erf, FilePlaced, Allocate, Release, OpenFile, ReadFile, WriteFile,
                           CloseFile, SeekFile, DeleteFileCallback, TempFileName, &ccab, &session));
  if (!fci)
    RaiseCabinetFailure(kCompressorSource, FailureText(erf, session));

  const TCOMP type = plan.compress ? tcompTYPE_MSZIP : tcompTYPE_NONE;
  bool ok = true;
  for (const PackItem& item : plan.items) {
    session.currentSource = item.source;
    session.currentStoredName = item.storedName;
    std::string source = item.source;
    std::string stored = item.storedName;
    ok = FCIAddFile(fci.Get(), source.data(), stored.data(), FALSE, NextCabinet, Status, OpenInfo,
                    type);
    if (!ok)
      break;
  }
  if (ok)
    ok = FCIFlushCabinet(fci.Get(), FALSE, NextCabinet, Status);
  const ERF failure = erf;
  fci.Reset();
  if (ok && !session.callbackFailure) {
    if (session.lastPercent != 100)
      progress(100);
    return;
  }
  // Wine deletes the partial cabinet itself; the system's FCI may not.
  DeleteFileW(base::win::WidePath(plan.cabinet).c_str());
  if (session.callbackFailure)
    std::rethrow_exception(session.callbackFailure);
  RaiseCabinetFailure(kCompressorSource, FailureText(failure, session));
}

}  // namespace vtq::cabinet
