#include "files/crop_save.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <new>

#include "base/error_report.h"
#include "base/file_replace.h"
#include "base/jpeg_engine.h"
#include "base/jpeg_metadata.h"
#include "files/save_rules.h"
#include "ui/label_ids.h"

namespace gdi = Gdiplus::DllExports;

namespace {

// EncoderQuality and EncoderCompression.
constexpr GUID ENCODER_QUALITY = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
constexpr GUID ENCODER_COMPRESSION = {
    0xe09d739d, 0xccd4, 0x44ee, {0x8e, 0xba, 0x3f, 0xbf, 0x8b, 0xe4, 0xfc, 0x58}};

bool Fail(ErrorReport& error, int label, const wchar_t* argument) {
  FillReport(error, label, argument, MB_ICONERROR);
  return false;
}

// The new file's bytes reach the disk before it replaces the old one: a
// power cut must not leave an empty target.
bool FlushToDisk(const wchar_t* path) {
  const HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(file) != FALSE;
  CloseHandle(file);
  return flushed;
}

bool IsFolder(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The source's property items, less its software field, then ours. They are
// an extra: every failure here is silent, and a source item that will not
// go on ends the source's part without stopping ours.
void CarryPropertyItems(GdiBitmap& source, GdiBitmap& crop, bool upright) {
  UINT size = 0;
  UINT count = 0;
  std::unique_ptr<BYTE[]> buffer;
  const Gdiplus::PropertyItem* items = nullptr;
  if (gdi::GdipGetPropertySize(source.image(), &size, &count) == Gdiplus::Ok && size != 0) {
    buffer.reset(new (std::nothrow) BYTE[size]);
    auto* all = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.get());
    if (buffer && gdi::GdipGetAllPropertyItems(source.image(), size, count, all) == Gdiplus::Ok) {
      items = all;
    }
  }
  if (items == nullptr) count = 0;

  std::unique_ptr<PropertyItemData[]> sourceItems(new (std::nothrow) PropertyItemData[count + 1]);
  std::unique_ptr<PropertyItemData[]> carried(new (std::nothrow) PropertyItemData[count + 1]);
  if (!sourceItems || !carried) return;
  for (UINT i = 0; i < count; ++i) {
    sourceItems[i] = {items[i].id, items[i].length, items[i].type, items[i].value};
  }
  SoftwareText software;
  MakeSoftwareText(software);
  const std::size_t carriedCount =
      PropertyItemsToCarry(sourceItems.get(), count, software, upright, carried.get());

  bool sourceStopped = false;
  for (std::size_t i = 0; i < carriedCount; ++i) {
    const bool ours = carried[i].id == PROPERTY_SOFTWARE;
    if (sourceStopped && !ours) continue;
    Gdiplus::PropertyItem item = {carried[i].id, carried[i].length, carried[i].type,
                                  const_cast<void*>(carried[i].value)};
    if (gdi::GdipSetPropertyItem(crop.image(), &item) != Gdiplus::Ok) sourceStopped = true;
  }
}

// Writes the crop into a new file beside the target (`write(path)`), then
// puts that file in the target's place: an existing target changes only
// once its successor is whole, and a failure leaves it exactly as it was.
template <typename Write>
bool WriteAndReplace(const wchar_t* target, Write write, ErrorReport& error) {
  PathBuffer temporary;
  if (!ReserveFileBeside(target, temporary)) return Fail(error, LBL_IMAGE_SAVE_ERROR, target);
  if (!write(static_cast<const wchar_t*>(temporary)) || !FlushToDisk(temporary)) {
    DeleteFileW(temporary);
    return Fail(error, LBL_IMAGE_SAVE_ERROR, target);
  }
  bool blocked = false;
  if (MoveIntoPlace(temporary, target, blocked)) return true;
  // A file in the way is the old target that would not go; anything else
  // (a folder of that name, a name the system refuses) is a failed write.
  return Fail(error, blocked ? LBL_FILE_DELETE_ERROR : LBL_IMAGE_SAVE_ERROR, target);
}

// The destination folder, made when it is missing.
bool MakeDestination(const wchar_t* folder, ErrorReport& error) {
  if (IsFolder(folder) || SHCreateDirectoryExW(nullptr, folder, nullptr) == ERROR_SUCCESS) {
    return true;
  }
  return Fail(error, LBL_FOLDER_CREATE_ERROR, folder);
}

}  // namespace

GdiBitmap CutCrop(GdiBitmap& source, const Rect& area, const SaveOptions& options,
                  ErrorReport& error) {
  const Gdiplus::PixelFormat pixelFormat = source.ImagePixelFormat();
  GdiBitmap crop = source.CloneArea(area.x, area.y, area.width, area.height, pixelFormat);
  if (!crop) {
    wchar_t size[32];
    std::swprintf(size, std::size(size), L"%d x %d", area.width, area.height);
    Fail(error, LBL_GDIPLUS_RESIZE_ERROR, size);
    return crop;
  }
  if (options.copyProperties) CarryPropertyItems(source, crop, options.upright);
  return crop;
}

bool WriteCrop(GdiBitmap& crop, const wchar_t* target, const SaveOptions& options,
               ErrorReport& error) {
  const wchar_t* extension = PathFindExtensionW(target);
  const SaveFormat format = SaveFormatFor(extension);
  CLSID encoder;
  if (!FindEncoder(format.mime, encoder)) {
    TextBuffer name;
    EncoderFormatName(extension, name);
    return Fail(error, LBL_ENCODER_NOT_FOUND, name);
  }

  if (!MakeDestination(options.destinationFolder, error)) return false;

  Gdiplus::EncoderParameters parameters = {};
  ULONG value = 0;
  if (format.parameter != nullptr) {
    value = format.parameter->value;
    parameters.Count = 1;
    parameters.Parameter[0].Guid = format.parameter->setting == EncoderSetting::Quality
                                       ? ENCODER_QUALITY
                                       : ENCODER_COMPRESSION;
    parameters.Parameter[0].NumberOfValues = format.parameter->count;
    parameters.Parameter[0].Type = format.parameter->valueType;
    parameters.Parameter[0].Value = &value;
  }
  const Gdiplus::EncoderParameters* given = format.parameter != nullptr ? &parameters : nullptr;
  return WriteAndReplace(
      target,
      [&](const wchar_t* path) {
        return gdi::GdipSaveImageToFile(crop.image(), path, &encoder, given) == Gdiplus::Ok;
      },
      error);
}

bool WriteLosslessCrop(const std::vector<unsigned char>& source, int turn, const Rect& area,
                       const wchar_t* target, const SaveOptions& options, ErrorReport& error,
                       bool& cut) {
  std::vector<unsigned char> crop;
  const JpegFrame frame = {static_cast<uint32_t>(area.x), static_cast<uint32_t>(area.y),
                           static_cast<uint32_t>(area.width), static_cast<uint32_t>(area.height)};
  cut = area.x >= 0 && area.y >= 0 && area.width > 0 && area.height > 0 &&
        CropJpegLossless(source.data(), source.size(), turn, frame, crop);
  if (!cut) return false;
  SoftwareText software;
  SoftwareText name;
  MakeSoftwareText(software);
  MakeSoftwareText(name, true);
  const CropExifEdit edit = {turn != 1, frame.width, frame.height, {software.bytes, name.bytes}};
  CarryJpegMetadata(source.data(), source.size(), options.copyProperties, edit, crop);
  if (!MakeDestination(options.destinationFolder, error)) return false;
  return WriteAndReplace(
      target,
      [&crop](const wchar_t* path) {
        const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool whole =
            crop.size() <= MAXDWORD &&
            WriteFile(file, crop.data(), static_cast<DWORD>(crop.size()), &written, nullptr) &&
            written == crop.size();
        CloseHandle(file);
        return whole;
      },
      error);
}

bool FindEncoder(const wchar_t* mime, CLSID& encoder) {
  UINT count = 0;
  UINT size = 0;
  if (gdi::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
  if (!buffer) return false;
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
  if (gdi::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (EqualsIgnoreAsciiCase(codecs[i].MimeType, mime)) {
      encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

bool MakeUniqueTargetPath(const wchar_t* folder, const wchar_t* fileName, PathBuffer& path) {
  path[0] = L'\0';
  if (PathYetAnotherMakeUniqueName(path, folder, fileName, fileName) && !PathIsRelativeW(path)) {
    return true;
  }
  path[0] = L'\0';
  return PathMakeUniqueName(path, PATH_CAPACITY, fileName, fileName, folder) &&
         !PathIsRelativeW(path);
}
