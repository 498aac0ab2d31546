#pragma once
// The fragment file formats: the own format's series header records, their
// byte layout, the first-fragment prefix, the fragment-count rule and the
// recognition rules for a first fragment.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vtq {

class MessageBoxes;

enum AftFileFormat : int32_t {
  aftQuorvelle = 0,
  aftRaw = 1,
  aftBrannock = 2,
};

enum AftFileSize : int32_t {
  aftLowDensity = 730112,
  aftHighDensity = 1457664,
  aftUltraDensity = 1745408,
  aftMegabyte = 1048576,
  aftDMegabyte = 2097152,
};

inline constexpr std::string_view kFormatName = "Quorvelle Extendable Fragment Format";
inline constexpr std::string_view kOldFormatMagic = "Quorvelle Fragment 1.0";
inline constexpr std::string_view kOldFileMagic = "Quorvelle";
inline constexpr char kEscape = 27;
// The first bytes of a first fragment that recognition looks at.
inline constexpr size_t kRecognitionWindow = 300;
// Readers never look at the notice; writer and length computation share it.
extern const std::string_view kEncryptionNotice;

// The default passphrase of both the splitter's encryption key and the
// assembler's decryption key.
inline constexpr std::string_view kBuiltInPassphrase = "Halvering Sealworthiness";

inline constexpr size_t kFormatRecordLength = 50;
inline constexpr size_t kCheckDigitCount = 4;

struct FormatRecord {
  std::string name{kFormatName};
  int16_t words[6] = {3, 0, 0, 2, 0, 0};
};

struct FileRecord {
  int16_t fragmentCount = 0;
  std::string sourceName;  // the stored bytes (engine/stored_name.h)
  bool multisize = false;
  bool encrypted = false;
  bool encodable = false;
  bool reservedFeature = false;
  bool checkable = false;
};

struct EncryptionRecord {
  std::string notice{kEncryptionNotice};
  int16_t word1 = 0;
  int16_t word2 = 1;
  int16_t keyCheck = 0;
};

struct SeriesHeader {
  FormatRecord format;
  FileRecord file;
  std::optional<EncryptionRecord> encryption;  // present when file.encrypted
  size_t length = 0;                           // bytes the records take
};

// Field-by-field encodings (16-bit little-endian numbers, Booleans -1/0,
// 16-bit length + ANSI bytes for texts).
std::string EncodeFormatRecord(const FormatRecord& record);
std::string EncodeFileRecord(const FileRecord& record);
std::string EncodeEncryptionRecord(const EncryptionRecord& record);

// H = L + 64, or L + T + 72 when encrypted.
size_t HeaderLength(size_t nameLength, bool encrypted);

// Parses the records at the start of `bytes`. A header cut short, or a
// length field reaching beyond `bytes`, raises error 62 with source
// "ActiveAssembler" and a description saying the header is damaged.
SeriesHeader ParseSeriesHeader(std::span<const uint8_t> bytes);

// Fragment count of a series: prefix P, source S, first size F, other size G,
// c check-digit bytes. Computed in 64 bits; the caller applies the 16-bit rule.
int64_t FragmentCountFor(int64_t prefix, int64_t source, int64_t first, int64_t other, int64_t c);

// Recognition over the first kRecognitionWindow bytes (or fewer).
// Own format: the format name occurs wholly inside the window. Otherwise the
// two old-format messages ("Format unsupported") are shown where they apply.
bool LooksLikeOwnFormat(std::span<const uint8_t> window, MessageBoxes& boxes);
// A "." occurs and the first escape byte comes after the first ".".
bool LooksLikeBrannock(std::span<const uint8_t> window);
// The bytes up to and including the first escape byte; empty when none.
std::string BrannockPrefix(std::span<const uint8_t> window);

}  // namespace vtq
