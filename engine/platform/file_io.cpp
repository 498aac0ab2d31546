// The parts of file access that need no system call; the rest lives in
// platform/*/file_io_*.cpp.

#include "engine/platform/file_io.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/error.h"

namespace vtq {

void File::ReadExactly(void* data, size_t size) {
  if (Read(data, size) != size)
    Raise(err::kInputPastEnd);
}

namespace {

// Large enough for few system calls, small enough to stay in the cache.
constexpr uint64_t kPiece = uint64_t{1} << 18;

void CopyPieceByPiece(File& from, File& to, uint64_t length) {
  std::vector<char> buffer(static_cast<size_t>(std::min(length, kPiece)));
  for (uint64_t left = length; left > 0;) {
    const auto now = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
    from.ReadExactly(buffer.data(), now);
    to.Write(buffer.data(), now);
    left -= now;
  }
}

// Two pieces that a reading thread fills while the caller writes them out:
// where the disk is fast a copy is bound by the processor, and reading and
// writing then share two cores.
class ReadAhead {
 public:
  ReadAhead(File& from, uint64_t length) : from_(from), length_(length) {
    for (auto& piece : pieces_)
      piece.data.resize(static_cast<size_t>(kPiece));
    reader_ = std::thread([this] { ReadAll(); });
  }
  ~ReadAhead() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    reader_.join();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  void WriteAllTo(File& to) {
    for (uint64_t left = length_, slot = 0; left > 0; slot ^= 1) {
      Piece& piece = pieces_[slot];
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return piece.filled > 0 || failure_; });
        if (piece.filled == 0)
          std::rethrow_exception(failure_);
      }
      to.Write(piece.data.data(), piece.filled);
      left -= piece.filled;
      {
        const std::lock_guard lock(mutex_);
        piece.filled = 0;
      }
      changed_.notify_all();
    }
  }

 private:
  struct Piece {
    std::vector<char> data;
    size_t filled = 0;  // 0 while the reader may fill it
  };

  void ReadAll() {
    try {
      for (uint64_t left = length_, slot = 0; left > 0; slot ^= 1) {
        Piece& piece = pieces_[slot];
        {
          std::unique_lock lock(mutex_);
          changed_.wait(lock, [&] { return piece.filled == 0 || stopping_; });
          if (stopping_)
            return;
        }
        const auto now = static_cast<size_t>(std::min(left, kPiece));
        from_.ReadExactly(piece.data.data(), now);
        {
          const std::lock_guard lock(mutex_);
          piece.filled = now;
        }
        changed_.notify_all();
        left -= now;
      }
    } catch (...) {
      const std::lock_guard lock(mutex_);
      failure_ = std::current_exception();
    }
    changed_.notify_all();
  }

  File& from_;
  const uint64_t length_;
  std::array<Piece, 2> pieces_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread reader_;  // last: started once everything it uses exists
};

void CopyThroughBuffer(File& from, File& to, uint64_t length) {
  // Nothing to overlap in one piece.
  if (length <= kPiece)
    return CopyPieceByPiece(from, to, length);
  ReadAhead(from, length).WriteAllTo(to);
}

}  // namespace

void File::CopyTo(File& target, uint64_t length, CopyPath path) {
  if (!IsOpen() || !target.IsOpen())
    Raise(err::kBadFileName);
  uint64_t left = length;
  if (path == CopyPath::kFastest)
    CopyInKernel(target, left);
  CopyThroughBuffer(*this, target, left);
}

bool CanOpenForReading(const std::string& name) {
  try {
    File probe(name, File::Mode::kRead);
    return true;
  } catch (const VbError&) {
    return false;
  }
}

}  // namespace vtq
