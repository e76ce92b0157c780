#include "JpegEncoder.h"

#include <algorithm>
#include <csetjmp>

// After jpeglib.h, this first inclusion defines the J_MESSAGE_CODE enum.
#include <jerror.h>

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;

// A destination that grows a vector, so nothing depends on jpeg_mem_dest being present.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<unsigned char>* bytes;
};

// Room for another chunk after the used bytes. Running out of memory is reported the way
// libjpeg reports its own, because an exception must not unwind through libjpeg's frames.
void grow(j_compress_ptr cinfo, std::size_t used) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    bool grown = true;
    try {
        dest->bytes->resize(used + ChunkSize);
    } catch (...) {
        grown = false;
    }
    // Outside the handler, so that the jump leaves no exception half handled.
    if (!grown)
        ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    dest->manager.next_output_byte = dest->bytes->data() + used;
    dest->manager.free_in_buffer = ChunkSize;
}

void initDestination(j_compress_ptr cinfo) {
    reinterpret_cast<VectorDestination*>(cinfo->dest)->bytes->clear();
    grow(cinfo, 0);
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    // libjpeg calls this only when the whole buffer is full, whatever free_in_buffer says.
    grow(cinfo, reinterpret_cast<VectorDestination*>(cinfo->dest)->bytes->size());
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->bytes->resize(dest->bytes->size() - dest->manager.free_in_buffer);
}

// libjpeg's default handler calls exit(); jump back instead.
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

// Only trivially destructible objects live here between setjmp and a jump back to it: the row
// buffer and the output belong to the caller.
bool compress(const JpegEncoding& e, const JpegRowFiller& fillRow, unsigned char* row,
              std::vector<unsigned char>& bytes, char* message) {
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

    cinfo.image_width = static_cast<JDIMENSION>(e.width);
    cinfo.image_height = static_cast<JDIMENSION>(e.height);
    cinfo.input_components = e.components;
    cinfo.in_color_space = e.input;
    jpeg_set_defaults(&cinfo);
    // The component layout and the progression below depend on the stored colour space.
    if (e.stored)
        jpeg_set_colorspace(&cinfo, *e.stored);
    jpeg_set_quality(&cinfo, e.quality, TRUE);
    if (!e.adobeMarker)
        cinfo.write_Adobe_marker = FALSE;
    if (e.fullChroma)
        for (int i = 0; i < cinfo.num_components; ++i)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    cinfo.arith_code = e.arithmetic ? TRUE : FALSE;
    // Arithmetic coding adapts as it goes; it has no tables to optimise.
    cinfo.optimize_coding = e.optimizeCoding && !e.arithmetic ? TRUE : FALSE;
    if (e.progressive)
        jpeg_simple_progression(&cinfo);
    if (!e.scans.empty()) {
        cinfo.scan_info = e.scans.data();
        cinfo.num_scans = static_cast<int>(e.scans.size());
    }

    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW rows[1] = {row};
    while (cinfo.next_scanline < cinfo.image_height) {
        // Called from here, not from inside libjpeg, so its exception may pass on.
        try {
            fillRow(static_cast<int>(cinfo.next_scanline), row);
        } catch (...) {
            jpeg_destroy_compress(&cinfo);
            throw;
        }
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::vector<unsigned char> EncodeJpeg(const JpegEncoding& encoding, const JpegRowFiller& fillRow,
                                      std::string* error) {
    std::vector<unsigned char> bytes;
    // A size libjpeg refuses leaves the row unused.
    std::vector<unsigned char> row(static_cast<std::size_t>(std::max(encoding.width, 0)) *
                                   static_cast<std::size_t>(std::max(encoding.components, 0)));
    char message[JMSG_LENGTH_MAX] = {};
    if (!compress(encoding, fillRow, row.data(), bytes, message)) {
        bytes.clear();
        if (error)
            *error = message;
    }
    return bytes;
}
