#include "engine/format.h"

#include <algorithm>
#include <limits>

#include "base/little_endian.h"
#include "engine/error.h"
#include "engine/platform/platform.h"

namespace vtq {

namespace {

// Readers skip the notice by its length field; only its length is part of
// the layout, so it must stay 77 characters.
constexpr std::string_view kNotice =
    "This series is enciphered with the Q-Weave encryption technology of Quorvelle";
static_assert(kNotice.size() == 77);

constexpr std::string_view kFormatUnsupportedTitle = "Format unsupported";

void AppendInt16(std::string& out, int16_t value) {
  base::LeWriter(out).I16(value);
}

void AppendBoolean(std::string& out, bool value) {
  AppendInt16(out, value ? -1 : 0);
}

void AppendText(std::string& out, std::string_view text) {
  // The length field is 16 bits wide; a longer text cannot be written faithfully.
  if (text.size() > std::numeric_limits<uint16_t>::max())
    Raise(err::kOverflow);
  const auto length = static_cast<uint16_t>(text.size());
  AppendInt16(out, static_cast<int16_t>(length));
  out.append(text);
}

// Reads the records field by field and never past the end of the bytes it
// was given: a first fragment is outside data and may be damaged or hostile.
class HeaderReader {
 public:
  explicit HeaderReader(std::span<const uint8_t> bytes) : in_(bytes) {}

  int16_t Int16(const char* field) {
    Need(2, field);
    return in_.I16();
  }

  // Any non-zero value reads as TRUE, as a stored Boolean does when tested.
  bool Boolean(const char* field) { return Int16(field) != 0; }

  std::string Text(const char* field) {
    const auto length = static_cast<uint16_t>(Int16(field));
    Need(length, field);
    const std::span<const uint8_t> text = in_.Bytes(length);
    return std::string(text.begin(), text.end());
  }

  size_t Position() const { return in_.Position(); }

 private:
  void Need(size_t count, const char* field) const {
    if (count > in_.Remaining()) {
      Raise(err::kInputPastEnd, kAssemblerSource,
            std::string("The series header of the first fragment is damaged: the ") + field +
                " reaches beyond the end of the fragment");
    }
  }

  base::LeReader in_;
};

std::span<const uint8_t> RecognitionPart(std::span<const uint8_t> window) {
  return window.first(std::min(window.size(), kRecognitionWindow));
}

bool StartsWith(std::span<const uint8_t> bytes, std::string_view text) {
  return bytes.size() >= text.size() &&
         std::equal(text.begin(), text.end(), bytes.begin(),
                    [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; });
}

size_t FindByte(std::span<const uint8_t> bytes, uint8_t value) {
  const auto it = std::find(bytes.begin(), bytes.end(), value);
  return it == bytes.end() ? std::string_view::npos : static_cast<size_t>(it - bytes.begin());
}

}  // namespace

const std::string_view kEncryptionNotice = kNotice;

std::string EncodeFormatRecord(const FormatRecord& record) {
  std::string out;
  AppendText(out, record.name);
  for (const int16_t word : record.words)
    AppendInt16(out, word);
  return out;
}

std::string EncodeFileRecord(const FileRecord& record) {
  std::string out;
  AppendInt16(out, record.fragmentCount);
  AppendText(out, record.sourceName);
  AppendBoolean(out, record.multisize);
  AppendBoolean(out, record.encrypted);
  AppendBoolean(out, record.encodable);
  AppendBoolean(out, record.reservedFeature);
  AppendBoolean(out, record.checkable);
  return out;
}

std::string EncodeEncryptionRecord(const EncryptionRecord& record) {
  std::string out;
  AppendText(out, record.notice);
  AppendInt16(out, record.word1);
  AppendInt16(out, record.word2);
  AppendInt16(out, record.keyCheck);
  return out;
}

size_t HeaderLength(size_t nameLength, bool encrypted) {
  const size_t plain = kFormatRecordLength + nameLength + 14;
  return encrypted ? plain + kNotice.size() + 8 : plain;
}

SeriesHeader ParseSeriesHeader(std::span<const uint8_t> bytes) {
  HeaderReader in(bytes);
  SeriesHeader header;

  header.format.name = in.Text("format name");
  for (int16_t& word : header.format.words)
    word = in.Int16("format record");

  FileRecord& file = header.file;
  file.fragmentCount = in.Int16("fragment count");
  file.sourceName = in.Text("source name");
  file.multisize = in.Boolean("multisize flag");
  file.encrypted = in.Boolean("encryption flag");
  file.encodable = in.Boolean("encodability flag");
  file.reservedFeature = in.Boolean("reserved-feature flag");
  file.checkable = in.Boolean("checkability flag");

  if (file.encrypted) {
    EncryptionRecord encryption;
    encryption.notice = in.Text("encryption notice");
    encryption.word1 = in.Int16("encryption record");
    encryption.word2 = in.Int16("encryption record");
    encryption.keyCheck = in.Int16("key check");
    header.encryption = std::move(encryption);
  }
  // A count below 1 is passed on as stored: the count query reports it and
  // the assemble run refuses that one series with a message.
  header.length = in.Position();
  return header;
}

int64_t FragmentCountFor(int64_t prefix, int64_t source, int64_t first, int64_t other, int64_t c) {
  const int64_t stream = prefix + source;
  const int64_t firstCapacity = first - c;
  if (stream <= firstCapacity)
    return 1;
  const int64_t otherCapacity = other - c;
  // Sizes are clamped far above the check digits; a fragment without room
  // for data would make the series endless.
  if (otherCapacity <= 0)
    Raise(err::kInvalidArgument);
  const int64_t rest = stream - firstCapacity;
  return 1 + (rest + otherCapacity - 1) / otherCapacity;
}

bool LooksLikeOwnFormat(std::span<const uint8_t> window, MessageBoxes& boxes) {
  const auto part = RecognitionPart(window);
  const auto found = std::search(part.begin(), part.end(), kFormatName.begin(), kFormatName.end(),
                                 [](uint8_t b, char c) { return b == static_cast<uint8_t>(c); });
  if (found != part.end())
    return true;

  const unsigned style = mb::kOk | mb::kIconCritical;
  if (StartsWith(part, kOldFormatMagic)) {
    boxes.Show("Old version of Quorvelle fragment format", kFormatUnsupportedTitle, style);
  } else if (StartsWith(part, kOldFileMagic)) {
    boxes.Show("Old Quorvelle file", kFormatUnsupportedTitle, style);
  }
  return false;
}

bool LooksLikeBrannock(std::span<const uint8_t> window) {
  const auto part = RecognitionPart(window);
  const size_t escape = FindByte(part, static_cast<uint8_t>(kEscape));
  const size_t dot = FindByte(part, static_cast<uint8_t>('.'));
  return escape != std::string_view::npos && dot < escape;
}

std::string BrannockPrefix(std::span<const uint8_t> window) {
  const auto part = RecognitionPart(window);
  const size_t escape = FindByte(part, static_cast<uint8_t>(kEscape));
  if (escape == std::string_view::npos)
    return {};
  return std::string(reinterpret_cast<const char*>(part.data()), escape + 1);
}

}  // namespace vtq
