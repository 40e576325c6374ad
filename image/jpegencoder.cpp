#include "image/jpegencoder.h"

#include <QPainter>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace quillet::image {

namespace {
constexpr int kComponents = 3;

// libjpeg's own handler prints and exit()s; ours jumps back to encode(), which answers
// empty bytes. Warnings are not errors and are ignored.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf back;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->back, 1);
}

void onMessage(j_common_ptr, int) { }

QImage flattened(const QImage &image)
{
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        if (rgb.isNull())
            return {};
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
        painter.end();
        rgb = rgb.convertToFormat(QImage::Format_RGB888);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB888);
    }
    return rgb;
}

// Everything libjpeg touches between setjmp and longjmp lives here, outside the frame
// that setjmp saves, so that no local is left indeterminate by the jump.
struct Job
{
    jpeg_compress_struct info {};
    ErrorManager errors {};
    unsigned char *buffer = nullptr;
    unsigned long size = 0;

    ~Job()
    {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

bool compress(Job &job, const QImage &rgb, int quality)
{
    job.info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = onError;
    job.errors.base.emit_message = onMessage;
    if (setjmp(job.errors.back))
        return false;
    jpeg_create_compress(&job.info);
    jpeg_mem_dest(&job.info, &job.buffer, &job.size);
    job.info.image_width = JDIMENSION(rgb.width());
    job.info.image_height = JDIMENSION(rgb.height());
    job.info.input_components = kComponents;
    job.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.info);
    jpeg_set_quality(&job.info, quality, TRUE);
    for (int c = 0; c < kComponents; ++c) {
        job.info.comp_info[c].h_samp_factor = 1;
        job.info.comp_info[c].v_samp_factor = 1;
    }
    job.info.optimize_coding = TRUE;
    // The same bytes on every machine: the exact integer transform, not the fastest one.
    job.info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&job.info, TRUE);
    while (job.info.next_scanline < job.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(job.info.next_scanline)));
        jpeg_write_scanlines(&job.info, &row, 1);
    }
    jpeg_finish_compress(&job.info);
    return true;
}
} // namespace

QByteArray JpegEncoder::encode(const QImage &image, int quality)
{
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
        return {};
    const QImage rgb = flattened(image);
    if (rgb.isNull())
        return {};
    Job job;
    if (!compress(job, rgb, qBound(1, quality, 100)) || !job.buffer || job.size == 0)
        return {};
    return QByteArray(reinterpret_cast<const char *>(job.buffer), qsizetype(job.size));
}

} // namespace quillet::image
