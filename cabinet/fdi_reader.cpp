#include "cabinet/fdi_reader.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <fdi.h>

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>

#include "base/code_page.h"
#include "base/scoped_handle.h"
#include "base/win/wide_path.h"
#include "cabinet/block_check.h"
#include "cabinet/cabinet_error.h"
#include "cabinet/entry_name.h"

namespace vtq::cabinet {
namespace {

struct FdiTraits {
  using Handle = HFDI;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { FDIDestroy(handle); }
};
using FdiContext = base::ScopedHandle<FdiTraits>;

class Session;

// FDI takes the cabinet's name as narrow text in fields of 256 bytes and
// its open callback carries no user pointer: it is given a stand-in that no
// file name can be, and the callback opens the cabinet of the thread's run
// by its wide name, however long.
constexpr std::string_view kCabinetStandIn = "|cabinet|";
thread_local const std::string* g_cabinet = nullptr;

class CabinetOfThread {
 public:
  explicit CabinetOfThread(const std::string& cabinet) : previous_(g_cabinet) {
    g_cabinet = &cabinet;
  }
  ~CabinetOfThread() { g_cabinet = previous_; }
  CabinetOfThread(const CabinetOfThread&) = delete;
  CabinetOfThread& operator=(const CabinetOfThread&) = delete;

 private:
  const std::string* previous_;
};

// FDI's file callbacks carry no user pointer, so every handle given to FDI
// is one of these: a CRT descriptor and, for an extracted file, the session
// that counts its bytes. The cabinet's own channels belong to FDI (opened
// and closed by it); extracted files' channels belong to the session, which
// frees them even when FDI gives up half way.
struct Channel {
  int fd = -1;
  Session* session = nullptr;
  uint64_t written = 0;
};

Channel* ChannelOf(INT_PTR handle) {
  return reinterpret_cast<Channel*>(handle);
}

// Wine's FDI, giving up on a cabinet that continues in another, closes a
// next cabinet it never opened: handle 0.
bool IsNoChannel(INT_PTR handle) {
  return handle == 0 || handle == -1;
}

void CloseDescriptor(Channel& channel) {
  if (channel.fd != -1)
    _close(channel.fd);
  channel.fd = -1;
}

struct OutputFile {
  std::string path;
  std::string name;
  uint32_t size = 0;  // as the cabinet's table gives it
  Channel channel;
  bool complete = false;
};

class Session {
 public:
  Session(std::string folder, uint64_t totalBytes, const ExtractProgress* progress)
      : folder_(std::move(folder)), totalBytes_(totalBytes), progress_(progress) {}
  ~Session() {
    for (auto& output : outputs_)
      CloseDescriptor(output->channel);
  }

  bool Listing() const noexcept { return progress_ == nullptr; }
  std::vector<StoredEntry>& Table() noexcept { return table_; }
  std::string& Failure() noexcept { return failure_; }
  std::exception_ptr& CallbackFailure() noexcept { return callbackFailure_; }

  INT_PTR Open(const std::string& name, uint32_t size) {
    if (!UnsafeEntryReason(name).empty()) {
      failure_ = "The entry " + Quoted(name) + " would be written outside the destination folder.";
      return -1;
    }
    std::string path = folder_;
    std::string relative = name;
    for (char& c : relative)
      if (c == '/')
        c = '\\';
    for (size_t slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', slash + 1))
      CreateDirectoryW(base::win::WidePath(folder_ + "\\" + relative.substr(0, slash)).c_str(),
                       nullptr);
    path += "\\" + relative;
    auto output = std::make_unique<OutputFile>();
    output->path = path;
    output->name = name;
    output->size = size;
    output->channel.session = this;
    output->channel.fd = _wopen(base::win::WidePath(path).c_str(),
                                _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (output->channel.fd == -1) {
      failure_ = "The file " + Quoted(path) + " could not be created.";
      return -1;
    }
    current_ = output.get();
    outputs_.push_back(std::move(output));
    return reinterpret_cast<INT_PTR>(&current_->channel);
  }

  // FDI closes an extracted file through its close callback when it gives
  // up half way, and through CLOSE_FILE_INFO otherwise, but Wine's FDI also
  // sends CLOSE_FILE_INFO for a file cut short by a cabinet that ends too
  // early: only a file of its full size counts as whole.
  bool Close(INT_PTR handle, bool whole) {
    Channel* channel = ChannelOf(handle);
    if (channel->fd == -1)  // closed before; what it was stays
      return !whole;
    const bool ok = _close(channel->fd) == 0;
    channel->fd = -1;
    for (auto& output : outputs_)
      if (&output->channel == channel)
        output->complete = ok && whole && !callbackFailure_ && channel->written == output->size;
    if (!ok)
      failure_ = "A file extracted from the cabinet could not be completed; the disk may be full.";
    return ok;
  }

  void Written(UINT bytes) {
    done_ += bytes;
    const uint64_t total = totalBytes_ == 0 ? 1 : totalBytes_;
    const auto percent = static_cast<int16_t>(std::min<uint64_t>(100, done_ * 100 / total));
    if (percent == lastPercent_ || callbackFailure_ || current_ == nullptr)
      return;
    lastPercent_ = percent;
    try {
      (*progress_)(current_->name, percent);
    } catch (...) {
      callbackFailure_ = std::current_exception();
    }
  }

  void WriteFailed(const Channel& channel) {
    for (auto& output : outputs_)
      if (&output->channel == &channel)
        failure_ = "The file " + Quoted(output->path) +
                   " could not be written while extracting; the disk may be full.";
  }

  // What FDI left half written goes; finished files stay.
  void DeleteIncomplete() {
    for (auto& output : outputs_) {
      CloseDescriptor(output->channel);
      if (!output->complete)
        DeleteFileW(base::win::WidePath(output->path).c_str());
    }
  }

 private:
  std::string folder_;
  uint64_t totalBytes_;
  const ExtractProgress* progress_;
  std::vector<StoredEntry> table_;
  std::vector<std::unique_ptr<OutputFile>> outputs_;
  OutputFile* current_ = nullptr;
  uint64_t done_ = 0;
  int16_t lastPercent_ = -1;
  std::string failure_;
  std::exception_ptr callbackFailure_;
};

FNALLOC(Allocate) {
  return std::malloc(cb);
}

FNFREE(Release) {
  std::free(pv);
}

FNOPEN(OpenCabinet) {
  const std::string_view name(pszFile);
  const std::wstring path = name == kCabinetStandIn && g_cabinet != nullptr
                                ? base::win::WidePath(*g_cabinet)
                                : base::win::WidePath(name);
  const int fd = _wopen(path.c_str(), oflag, pmode);
  if (fd == -1)
    return -1;
  auto channel = std::make_unique<Channel>();
  channel->fd = fd;
  return reinterpret_cast<INT_PTR>(channel.release());  // back in CloseChannel
}

FNREAD(ReadChannel) {
  if (IsNoChannel(hf))
    return static_cast<UINT>(-1);
  const int got = _read(ChannelOf(hf)->fd, pv, cb);
  return static_cast<UINT>(got);
}

FNWRITE(WriteChannel) {
  if (IsNoChannel(hf))
    return static_cast<UINT>(-1);
  Channel* channel = ChannelOf(hf);
  const int put = _write(channel->fd, pv, cb);
  if (channel->session) {
    if (put != static_cast<int>(cb)) {
      channel->session->WriteFailed(*channel);
      return static_cast<UINT>(-1);
    }
    channel->written += cb;
    channel->session->Written(cb);
    if (channel->session->CallbackFailure())  // the handler failed: stop FDI here
      return static_cast<UINT>(-1);
  }
  return static_cast<UINT>(put);
}

FNCLOSE(CloseChannel) {
  if (IsNoChannel(hf))
    return -1;
  Channel* channel = ChannelOf(hf);
  if (channel->session)  // an extracted file: the session owns it
    return channel->session->Close(hf, false) ? 0 : -1;
  const std::unique_ptr<Channel> owned(channel);
  return _close(owned->fd);
}

FNSEEK(SeekChannel) {
  if (IsNoChannel(hf))
    return -1;
  return _lseek(ChannelOf(hf)->fd, dist, seektype);
}

// A name flagged as UTF-8 (ours and gcab's are, where they are not ASCII)
// is taken as it is; any other is in the writer's code page, taken as this
// system's ANSI one.
std::string StoredName(const FDINOTIFICATION& info) {
  const std::string raw = info.psz1 ? info.psz1 : "";
  if (info.attribs & _A_NAME_IS_UTF)
    return raw;
  return base::AnsiCodePage().Decode(raw);
}

FNFDINOTIFY(Notify) {
  Session& session = *static_cast<Session*>(pfdin->pv);
  switch (fdint) {
    case fdintCOPY_FILE:
      if (session.Listing()) {
        session.Table().push_back({StoredName(*pfdin), static_cast<uint32_t>(pfdin->cb)});
        return 0;
      }
      return session.CallbackFailure()
                 ? -1
                 : session.Open(StoredName(*pfdin), static_cast<uint32_t>(pfdin->cb));
    case fdintCLOSE_FILE_INFO:
      return session.Close(pfdin->hf, true) && !session.CallbackFailure() ? TRUE : -1;
    case fdintNEXT_CABINET:
      session.Failure() =
          "The cabinet continues in another cabinet; only single cabinets can be read.";
      return -1;
    default:  // cabinet information, files continued from an earlier cabinet
      return 0;
  }
}

std::string FailureText(const ERF& erf, const std::string& cabinet, Session& session) {
  if (!session.Failure().empty())
    return session.Failure();
  const std::string quoted = Quoted(cabinet);
  switch (erf.erfOper) {
    case FDIERROR_CABINET_NOT_FOUND:
      return "The cabinet " + quoted + " could not be found.";
    case FDIERROR_NOT_A_CABINET:
      return "The file " + quoted + " is not a cabinet.";
    case FDIERROR_UNKNOWN_CABINET_VERSION:
      return "The cabinet " + quoted + " has a version that cannot be read.";
    case FDIERROR_CORRUPT_CABINET:
    case FDIERROR_MDI_FAIL:
      return "The cabinet " + quoted + " is damaged.";
    case FDIERROR_ALLOC_FAIL:
      return "There was not enough memory to read the cabinet " + quoted + ".";
    case FDIERROR_BAD_COMPR_TYPE:
      return "The cabinet " + quoted + " uses a compression that cannot be read.";
    case FDIERROR_TARGET_FILE:
      return "A file of the cabinet " + quoted + " could not be written.";
    case FDIERROR_RESERVE_MISMATCH:
    case FDIERROR_WRONG_CABINET:
      return "The cabinet " + quoted + " belongs to a set; only single cabinets can be read.";
    default:
      return "The cabinet " + quoted + " could not be read (cabinet library error " +
             std::to_string(erf.erfOper) + ").";
  }
}

void Run(const std::string& cabinet, Session& session) {
  if (GetFileAttributesW(base::win::WidePath(cabinet).c_str()) == INVALID_FILE_ATTRIBUTES)
    RaiseCabinetFailure(kExtractorSource,
                        "The cabinet " + Quoted(cabinet) + " could not be found.");
  ERF erf{};
  FdiContext fdi(FDICreate(Allocate, Release, OpenCabinet, ReadChannel, WriteChannel, CloseChannel,
                           SeekChannel, cpuUNKNOWN, &erf));
  if (!fdi)
    RaiseCabinetFailure(kExtractorSource, FailureText(erf, cabinet, session));
  std::string name(kCabinetStandIn);
  std::string path;
  const CabinetOfThread opened(cabinet);
  const BOOL ok = FDICopy(fdi.Get(), name.data(), path.data(), 0, Notify, nullptr, &session);
  fdi.Reset();
  if (ok && !session.CallbackFailure() && session.Failure().empty())
    return;
  session.DeleteIncomplete();
  if (session.CallbackFailure())
    std::rethrow_exception(session.CallbackFailure());
  RaiseCabinetFailure(kExtractorSource, FailureText(erf, cabinet, session));
}

}  // namespace

std::vector<StoredEntry> ReadCabinetTable(const std::string& cabinet) {
  Session session({}, 0, nullptr);
  Run(cabinet, session);
  return std::move(session.Table());
}

void ExtractCabinetFiles(const std::string& cabinet, const std::string& folder, uint64_t totalBytes,
                         const ExtractProgress& progress) {
  {
    std::ifstream in(std::filesystem::path(base::win::WidePath(cabinet)), std::ios::binary);
    if (in && !BlocksMatchChecksums(in))
      RaiseCabinetFailure(kExtractorSource, "The cabinet " + Quoted(cabinet) + " is damaged.");
  }
  Session session(folder, totalBytes, &progress);
  Run(cabinet, session);
}

}  // namespace vtq::cabinet
