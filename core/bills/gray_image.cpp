#include "core/bills/gray_image.h"

// clang-format off: jpeglib.h needs the FILE that stdio.h declares.
#include <jpeglib.h>
#include <cstdio>
// clang-format on
#include <png.h>

#include <csetjmp>
#include <string>

namespace paylark {
namespace {

Status Undecodable(std::string_view kind, std::string_view why) {
  return Status::Corrupt("The " + std::string(kind) + " image cannot be read: " + std::string(why) +
                         ".");
}

bool TooLarge(std::int64_t width, std::int64_t height) {
  return width * height > kLargestImagePixels;
}

Status ImageTooLarge(std::int64_t width, std::int64_t height) {
  return Status::InvalidArgument("The image is " + std::to_string(width) + " by " +
                                 std::to_string(height) +
                                 " pixels, too large for a photo of a bill.");
}

Result<GrayImage> DecodePng(std::string_view bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return Undecodable("PNG", image.message);
  if (TooLarge(image.width, image.height)) {
    png_image_free(&image);
    return ImageTooLarge(image.width, image.height);
  }
  image.format = PNG_FORMAT_GRAY;
  GrayImage gray;
  gray.width = static_cast<int>(image.width);
  gray.height = static_cast<int>(image.height);
  gray.pixels.resize(PNG_IMAGE_SIZE(image));
  const png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, gray.pixels.data(), 0, nullptr))
    return Undecodable("PNG", image.message);
  return gray;
}

struct JpegErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
};

// libjpeg's error handler must not return: it jumps back into DecodeJpeg, whose frames hold no
// object with a destructor between the jump and its target.
[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

bool ReadJpegRows(jpeg_decompress_struct& info, JpegErrors& errors, std::uint8_t* pixels) {
  if (setjmp(errors.jump))  // NOLINT(cert-err52-cpp): libjpeg's only way to report an error
    return false;
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + static_cast<std::size_t>(info.output_scanline) * info.output_width;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

bool ReadJpegHeader(jpeg_decompress_struct& info, JpegErrors& errors, std::string_view bytes) {
  if (setjmp(errors.jump))  // NOLINT(cert-err52-cpp): as above
    return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_GRAYSCALE;
  return true;
}

Result<GrayImage> DecodeJpeg(std::string_view bytes) {
  jpeg_decompress_struct info{};
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpOnError;
  // A warning (a file cut short is drawn gray to its end) is no business of standard error.
  errors.manager.output_message = [](j_common_ptr) {};
  GrayImage gray;
  bool read = ReadJpegHeader(info, errors, bytes);
  if (read && TooLarge(info.image_width, info.image_height)) {
    const Status status = ImageTooLarge(info.image_width, info.image_height);
    jpeg_destroy_decompress(&info);
    return status;
  }
  if (read) {
    gray.width = static_cast<int>(info.image_width);
    gray.height = static_cast<int>(info.image_height);
    gray.pixels.resize(static_cast<std::size_t>(gray.width) * gray.height);
    read = ReadJpegRows(info, errors, gray.pixels.data());
  }
  jpeg_destroy_decompress(&info);
  if (!read)
    return Undecodable("JPEG", errors.message);
  return gray;
}

}  // namespace

bool IsPng(std::string_view bytes) {
  return bytes.starts_with("\x89PNG\r\n\x1a\n");
}

bool IsJpeg(std::string_view bytes) {
  return bytes.starts_with("\xFF\xD8\xFF");
}

Result<GrayImage> DecodeImage(std::string_view bytes) {
  if (IsPng(bytes))
    return DecodePng(bytes);
  if (IsJpeg(bytes))
    return DecodeJpeg(bytes);
  return Status::InvalidArgument("The file is not a PNG or JPEG image.");
}

}  // namespace paylark
