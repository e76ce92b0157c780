#include "JpegWriter.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;

// A destination that grows a vector, so nothing depends on jpeg_mem_dest being present.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<unsigned char>* bytes;
};

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->bytes->resize(ChunkSize);
    dest->manager.next_output_byte = dest->bytes->data();
    dest->manager.free_in_buffer = dest->bytes->size();
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    // libjpeg calls this only when the whole buffer is full, whatever free_in_buffer says.
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const std::size_t used = dest->bytes->size();
    dest->bytes->resize(used + ChunkSize);
    dest->manager.next_output_byte = dest->bytes->data() + used;
    dest->manager.free_in_buffer = ChunkSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->bytes->resize(dest->bytes->size() - dest->manager.free_in_buffer);
}

// libjpeg's default handler calls exit(); jump back instead. Only trivially destructible locals
// live between setjmp and the jump.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void silentMessage(j_common_ptr, int) {}

bool compress(const QImage& rgb, const JpegOptions& options, std::vector<unsigned char>& bytes,
              char* message) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = errorExit;
    err.base.emit_message = silentMessage;
    err.message[0] = '\0';
    VectorDestination dest;

    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }

    jpeg_create_compress(&cinfo);
    dest.manager.init_destination = initDestination;
    dest.manager.empty_output_buffer = emptyOutputBuffer;
    dest.manager.term_destination = termDestination;
    dest.bytes = &bytes;
    cinfo.dest = &dest.manager;

    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    // Optimised Huffman tables are still baseline; they only make the files smaller.
    cinfo.optimize_coding = TRUE;
    const int luma = options.subsample ? 2 : 1;
    cinfo.comp_info[0].h_samp_factor = luma;
    cinfo.comp_info[0].v_samp_factor = luma;
    for (int c = 1; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg's API is not const-correct; it only reads the row.
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::vector<unsigned char> encodeJpeg(const QImage& image, const JpegOptions& options,
                                      std::string* error) {
    std::vector<unsigned char> bytes;
    if (image.isNull()) {
        if (error)
            *error = "empty image";
        return bytes;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    char message[JMSG_LENGTH_MAX] = {};
    if (!compress(rgb, options, bytes, message)) {
        bytes.clear();
        if (error)
            *error = message;
    }
    return bytes;
}

bool writeJpeg(const QImage& image, const QString& path, const JpegOptions& options,
               std::string* error) {
    const std::vector<unsigned char> bytes = encodeJpeg(image, options, error);
    if (bytes.empty())
        return false;
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.commit()) {
        if (error)
            *error = file.errorString().toStdString();
        return false;
    }
    return true;
}
