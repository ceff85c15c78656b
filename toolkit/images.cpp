#include <png.h>

#include <cstring>
#include <map>

#include "corvane_resources.h"
#include "toolkit/internal.h"

namespace {

std::map<int, GdkPixbuf*> Images;

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
    guchar* pixels = static_cast<guchar*>(g_malloc(PNG_IMAGE_BUFFER_SIZE(image, stride)));
    if (!png_image_finish_read(&image, nullptr, pixels, static_cast<png_int_32>(stride), nullptr)) {
        png_image_free(&image);
        g_free(pixels);
        return nullptr;
    }
    return gdk_pixbuf_new_from_data(pixels, GDK_COLORSPACE_RGB, TRUE, 8,
                                    static_cast<int>(image.width), static_cast<int>(image.height),
                                    static_cast<int>(stride), FreePixels, nullptr);
}

GdkPixbuf* DecodeWithLoader(const void* data, size_t size) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("bmp", nullptr);
    if (loader == nullptr) return nullptr;
    bool ok = gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(data), size, nullptr);
    ok = gdk_pixbuf_loader_close(loader, nullptr) && ok;
    GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf != nullptr) g_object_ref(pixbuf);
    g_object_unref(loader);
    return pixbuf;
}

bool IsPng(const void* data, size_t size) {
    return size >= 8 && png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) == 0;
}

bool RegisterImageData(int image, const void* data, size_t size) {
    GdkPixbuf* pixbuf = IsPng(data, size) ? DecodePng(data, size) : DecodeWithLoader(data, size);
    if (pixbuf == nullptr) return false;
    auto old = Images.find(image);
    if (old != Images.end()) g_object_unref(old->second);
    Images[image] = pixbuf;
    return true;
}

}  // namespace

bool RegisterResourceImage(int image, const char* resourcePath) {
    static bool registered = false;
    if (!registered) {
        corvane_register_resource();
        registered = true;
    }
    GBytes* bytes = g_resources_lookup_data(resourcePath, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (bytes == nullptr) return false;
    gsize size = 0;
    const void* data = g_bytes_get_data(bytes, &size);
    bool ok = RegisterImageData(image, data, size);
    g_bytes_unref(bytes);
    return ok;
}

bool ImageExists(int image) {
    return Images.count(image) != 0;
}

GdkPixbuf* ImagePixbuf(int image) {
    auto it = Images.find(image);
    return it == Images.end() ? nullptr : it->second;
}

int ImageNumberOf(GdkPixbuf* pixbuf) {
    for (const auto& [number, registered] : Images) {
        if (registered == pixbuf) return number;
    }
    return 0;
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
    for (auto& [number, pixbuf] : Images) g_object_unref(pixbuf);
    Images.clear();
}
