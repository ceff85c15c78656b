// SPDX-License-Identifier: GPL-2.0-or-later
#include <png.h>

#include <cstring>
#include <map>

#include "common/lookup.h"
#include "corvane_resources.h"
#include "image_list.h"
#include "toolkit/internal.h"

namespace {

std::map<int, GRef<GdkPixbuf>> Images;

void FreePixels(guchar* pixels, gpointer) {
    g_free(pixels);
}

GdkPixbuf* DecodePng(const void* data, size_t size) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    image.format = PNG_FORMAT_RGBA;
    const gsize stride = PNG_IMAGE_ROW_STRIDE(image);
    GText pixels(static_cast<gchar*>(g_malloc(PNG_IMAGE_BUFFER_SIZE(image, stride))));
    if (!png_image_finish_read(&image, nullptr, pixels.get(), static_cast<png_int_32>(stride),
                               nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return gdk_pixbuf_new_from_data(reinterpret_cast<guchar*>(pixels.release()), GDK_COLORSPACE_RGB,
                                    TRUE, 8, static_cast<int>(image.width),
                                    static_cast<int>(image.height), static_cast<int>(stride),
                                    FreePixels, nullptr);
}

GdkPixbuf* DecodeBmp(const void* data, size_t size) {
    GRef<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type("bmp", nullptr));
    if (!loader) return nullptr;
    bool ok = gdk_pixbuf_loader_write(loader.get(), static_cast<const guchar*>(data), size, nullptr);
    ok = gdk_pixbuf_loader_close(loader.get(), nullptr) && ok;
    GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;
    return pixbuf == nullptr ? nullptr : GDK_PIXBUF(g_object_ref(pixbuf));
}

bool IsPng(const void* data, size_t size) {
    return size >= 8 && png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) == 0;
}

bool RegisterImage(int image, const char* file) {
    const std::string path = std::string("/corvane/images/") + file;
    std::unique_ptr<GBytes, ReleaseWith<g_bytes_unref>> bytes(
        g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr));
    if (!bytes) return false;
    gsize size = 0;
    const void* data = g_bytes_get_data(bytes.get(), &size);
    GdkPixbuf* pixbuf = IsPng(data, size) ? DecodePng(data, size) : DecodeBmp(data, size);
    if (pixbuf == nullptr) return false;
    Images[image].reset(pixbuf);
    return true;
}

}  // namespace

void RegisterImages() {
    static const bool bundled = (corvane_register_resource(), true);
    (void)bundled;
    for (const EmbeddedImage& image : EmbeddedImages) RegisterImage(image.number, image.file);
}

GdkPixbuf* ImagePixbuf(int image) {
    GRef<GdkPixbuf>* pixbuf = FindIn(Images, image);
    return pixbuf == nullptr ? nullptr : pixbuf->get();
}

int ImageWidth(int image) {
    GdkPixbuf* pixbuf = ImagePixbuf(image);
    return pixbuf == nullptr ? 0 : gdk_pixbuf_get_width(pixbuf);
}

int ImageHeight(int image) {
    GdkPixbuf* pixbuf = ImagePixbuf(image);
    return pixbuf == nullptr ? 0 : gdk_pixbuf_get_height(pixbuf);
}

void FreeImages() {
    Images.clear();
}
