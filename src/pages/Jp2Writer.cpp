#include "Jp2Writer.h"

#include <openjpeg-2.5/openjpeg.h>

#include <QFile>

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

bool Jp2Writer::write(const QImage &source, const QString &path)
{
    if (source.isNull())
        return false;
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    Codec codec;
    codec.image = makeImage(rgb);
    if (!codec.codec || !codec.image)
        return false;
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
        return false;
    codec.stream = opj_stream_create_default_file_stream(QFile::encodeName(path).constData(), OPJ_FALSE);
    if (!codec.stream)
        return false;
    return opj_start_compress(codec.codec, codec.image, codec.stream) && opj_encode(codec.codec, codec.stream)
           && opj_end_compress(codec.codec, codec.stream);
}
