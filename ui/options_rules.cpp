#include "ui/options_rules.h"

#include <cwchar>

#include "ui/label_ids.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

uint32_t ClampTypedNumber(const wchar_t* text, uint32_t minimum, uint32_t maximum) {
  if (text == nullptr || text[0] == L'\0') return minimum;
  uint64_t value = 0;
  for (const wchar_t* c = text; *c != L'\0'; ++c) {
    if (*c < L'0' || *c > L'9') return minimum;
    // Past the maximum it stays there, however many digits follow.
    if (value <= maximum) value = value * 10 + static_cast<uint64_t>(*c - L'0');
  }
  if (value < minimum) return minimum;
  return value > maximum ? maximum : static_cast<uint32_t>(value);
}

bool IsAbsoluteFolderPath(const wchar_t* path) {
  if (path == nullptr) return false;
  if (IsDriveLetter(path[0]) && path[1] == L':') return IsSeparator(path[2]);
  // A share: two separators, a server name, a separator and a share name.
  if (!IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  const wchar_t* server = path + 2;
  const wchar_t* end = server;
  while (*end != L'\0' && !IsSeparator(*end)) ++end;
  return end != server && IsSeparator(*end) && end[1] != L'\0' && !IsSeparator(end[1]);
}

int DestinationFolderFault(const wchar_t* folder, bool isExistingFile) {
  if (folder == nullptr || folder[0] == L'\0') return LBL_OPT_DEST_NOT_SET;
  if (!IsAbsoluteFolderPath(folder)) return LBL_OPT_DEST_NOT_ABSOLUTE;
  return isExistingFile ? LBL_OPT_DEST_IS_FILE : -1;
}

int OptionsPageToOpen(int32_t stored) { return stored >= 0 && stored <= 2 ? stored : 0; }

bool OptionsChanged(const Options& before, const Options& after, const wchar_t* captionBefore,
                    const wchar_t* captionAfter) {
  return before.StartupAskFolder != after.StartupAskFolder ||
         before.NotifySourceChanges != after.NotifySourceChanges ||
         before.EnhancedSelection != after.EnhancedSelection ||
         before.EditorSystemColor != after.EditorSystemColor ||
         before.CopyImageExifTags != after.CopyImageExifTags ||
         before.CopySourceToTemp != after.CopySourceToTemp ||
         before.TurnImagesUpright != after.TurnImagesUpright ||
         before.LosslessJpegCrop != after.LosslessJpegCrop ||
         before.ListMoreFormats != after.ListMoreFormats ||
         before.ResizeRatioMode != after.ResizeRatioMode ||
         before.ResizeRatioWidth != after.ResizeRatioWidth ||
         before.ResizeRatioHeight != after.ResizeRatioHeight ||
         before.MinimumImageWidth != after.MinimumImageWidth ||
         before.MinimumImageHeight != after.MinimumImageHeight ||
         std::wcscmp(before.DestinationFolder, after.DestinationFolder) != 0 ||
         std::wcscmp(captionBefore, captionAfter) != 0;
}
