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

#include "base/scoped_handle.h"
#include "cabinet/cabinet_error.h"
#include "cabinet/file_stamp.h"

namespace vtq::cabinet {
namespace {

struct FciTraits {
  using Handle = HFCI;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { FCIDestroy(handle); }
};
using FciContext = base::ScopedHandle<FciTraits>;

// Everything the callbacks reach through FCI's user pointer.
struct Session {
  const PackPlan& plan;
  const PercentCallback& progress;
  uint64_t bytesTaken = 0;
  int16_t lastPercent = -1;
  std::exception_ptr callbackFailure;
  std::string currentSource;
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
  (void)pv;
  const int fd = _open(pszFile, oflag, pmode);
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
  (void)pv;
  const int result = _unlink(pszFile);
  if (result == -1)
    *err = errno;
  return result;
}

// FCI creates the file itself (exclusive), so only a free name is handed on.
BOOL DIAMONDAPI TempFileName(char* pszTempName, int cbTempName, void* pv) {
  (void)pv;
  char folder[MAX_PATH];
  char name[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH || !GetTempFileNameA(folder, "vcb", 0, name))
    return FALSE;
  DeleteFileA(name);
  if (std::strlen(name) >= static_cast<size_t>(cbTempName))
    return FALSE;
  std::strcpy(pszTempName, name);
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
  *pattribs = stamp.attributes;
  const int fd = _open(pszName, _O_RDONLY | _O_BINARY);
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

void SplitCabinetPath(const std::string& path, CCAB& ccab) {
  const size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::strncpy(ccab.szCabPath, folder.c_str(), sizeof ccab.szCabPath - 1);
  std::strncpy(ccab.szCab, name.c_str(), sizeof ccab.szCab - 1);
}

}  // namespace

void WriteCabinetWithFci(const PackPlan& plan, const PercentCallback& progress) {
  Session session{plan, progress, 0, -1, nullptr, {}};
  CCAB ccab{};
  ccab.cb = 0x7FFFFFFF;
  ccab.cbFolderThresh = 0x7FFFFFFF;
  ccab.setID = 0x5651;
  ccab.iCab = 1;
  SplitCabinetPath(plan.cabinet, ccab);

  ERF erf{};
  FciContext fci(FCICreate(&erf, FilePlaced, Allocate, Release, OpenFile, ReadFile, WriteFile,
                           CloseFile, SeekFile, DeleteFileCallback, TempFileName, &ccab, &session));
  if (!fci)
    RaiseCabinetFailure(kCompressorSource, FailureText(erf, session));

  const TCOMP type = plan.compress ? tcompTYPE_MSZIP : tcompTYPE_NONE;
  bool ok = true;
  for (const PackItem& item : plan.items) {
    session.currentSource = item.source;
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
  DeleteFileA(plan.cabinet.c_str());
  if (session.callbackFailure)
    std::rethrow_exception(session.callbackFailure);
  RaiseCabinetFailure(kCompressorSource, FailureText(failure, session));
}

}  // namespace vtq::cabinet
