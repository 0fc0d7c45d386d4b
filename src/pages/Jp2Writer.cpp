#include "Jp2Writer.h"

#include <openjpeg-2.5/openjpeg.h>

#include <cstring>

namespace {

struct Codec {
    opj_codec_t *codec = opj_create_compress(OPJ_CODEC_JP2);
    opj_image_t *image = nullptr;
    opj_stream_t *stream = nullptr;
    ~Codec()
    {
        if (stream)
            opj_stream_destroy(stream);
        if (codec)
            opj_destroy_codec(codec);
        if (image)
            opj_image_destroy(image);
    }
};

opj_image_t *makeImage(const QImage &rgb)
{
    opj_image_cmptparm_t parameters[3] = {};
    for (auto &component : parameters) {
        component.dx = component.dy = 1;
        component.w = OPJ_UINT32(rgb.width());
        component.h = OPJ_UINT32(rgb.height());
        component.prec = 8;
        component.sgnd = 0;
    }
    opj_image_t *image = opj_image_create(3, parameters, OPJ_CLRSPC_SRGB);
    if (!image)
        return nullptr;
    image->x1 = OPJ_UINT32(rgb.width());
    image->y1 = OPJ_UINT32(rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            for (int c = 0; c < 3; ++c)
                image->comps[c].data[size_t(y) * size_t(rgb.width()) + size_t(x)] = line[x * 3 + c];
    }
    return image;
}

} // namespace

// The encoder writes into memory; it seeks back only over what it has written.
struct MemorySink {
    QByteArray bytes;
    qint64 position = 0;

    static OPJ_SIZE_T write(void *data, OPJ_SIZE_T size, void *user)
    {
        auto *sink = static_cast<MemorySink *>(user);
        const qint64 end = sink->position + qint64(size);
        if (end > sink->bytes.size())
            sink->bytes.resize(end);
        memcpy(sink->bytes.data() + sink->position, data, size);
        sink->position = end;
        return size;
    }
    static OPJ_OFF_T skip(OPJ_OFF_T count, void *user)
    {
        auto *sink = static_cast<MemorySink *>(user);
        if (sink->position + count < 0)
            return -1;
        sink->position += count;
        if (sink->position > sink->bytes.size())
            sink->bytes.resize(sink->position);
        return count;
    }
    static OPJ_BOOL seek(OPJ_OFF_T position, void *user)
    {
        auto *sink = static_cast<MemorySink *>(user);
        if (position < 0)
            return OPJ_FALSE;
        sink->position = position;
        if (sink->position > sink->bytes.size())
            sink->bytes.resize(sink->position);
        return OPJ_TRUE;
    }
};

QByteArray Jp2Writer::encode(const QImage &source)
{
    if (source.isNull())
        return {};
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    Codec codec;
    codec.image = makeImage(rgb);
    if (!codec.codec || !codec.image)
        return {};
    // The encoder's messages go nowhere: failure reaches the caller as an empty result.
    const auto quiet = [](const char *, void *) {};
    opj_set_error_handler(codec.codec, quiet, nullptr);
    opj_set_warning_handler(codec.codec, quiet, nullptr);
    opj_set_info_handler(codec.codec, quiet, nullptr);
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0; // no rate limit: lossless
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = 1;      // the colour transform helps RGB compress
    while (parameters.numresolution > 1
           && (rgb.width() < (1 << (parameters.numresolution - 1)) || rgb.height() < (1 << (parameters.numresolution - 1))))
        --parameters.numresolution; // tiny images cannot take the default number of levels
    if (!opj_setup_encoder(codec.codec, &parameters, codec.image))
        return {};
    MemorySink sink;
    codec.stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE);
    if (!codec.stream)
        return {};
    opj_stream_set_user_data(codec.stream, &sink, nullptr);
    opj_stream_set_write_function(codec.stream, &MemorySink::write);
    opj_stream_set_skip_function(codec.stream, &MemorySink::skip);
    opj_stream_set_seek_function(codec.stream, &MemorySink::seek);
    const bool ok = opj_start_compress(codec.codec, codec.image, codec.stream) && opj_encode(codec.codec, codec.stream)
                    && opj_end_compress(codec.codec, codec.stream);
    return ok ? sink.bytes : QByteArray();
}
