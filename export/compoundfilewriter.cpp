// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "compoundfilewriter.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>

#include <memory>

namespace VexoTool {

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template<typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

QString outputError(GsfOutput *output, const char *what)
{
    const GError *error = gsf_output_error(output);
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        error ? QString::fromUtf8(error->message) : QStringLiteral("failed"));
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

std::optional<QByteArray> CompoundFileWriter::singleStreamFile(const QString &streamName, const QByteArray &data,
                                                               QString *error)
{
    GObjectPtr<GsfOutput> sink(gsf_output_memory_new());
    if (!sink) {
        fail(error, QStringLiteral("no memory for the container"));
        return std::nullopt;
    }
    GObjectPtr<GsfOutfile> container(gsf_outfile_msole_new(sink.get()));
    if (!container) {
        fail(error, QStringLiteral("the container could not be started"));
        return std::nullopt;
    }
    const QByteArray name = streamName.toUtf8();
    GObjectPtr<GsfOutput> stream(gsf_outfile_new_child(container.get(), name.constData(), FALSE));
    if (!stream) {
        fail(error, QStringLiteral("the stream \"%1\" could not be added").arg(streamName));
        return std::nullopt;
    }
    const bool written
        = gsf_output_write(stream.get(), gsize(data.size()), reinterpret_cast<const guint8 *>(data.constData()));
    // Closing the stream and then the container writes the directory and allocation tables.
    const bool streamClosed = gsf_output_close(stream.get());
    if (!written || !streamClosed) {
        fail(error, outputError(stream.get(), "writing the stream"));
        gsf_output_close(GSF_OUTPUT(container.get()));
        return std::nullopt;
    }
    if (!gsf_output_close(GSF_OUTPUT(container.get()))) {
        fail(error, outputError(GSF_OUTPUT(container.get()), "closing the container"));
        return std::nullopt;
    }
    auto *memory = GSF_OUTPUT_MEMORY(sink.get());
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8 *bytes = gsf_output_memory_get_bytes(memory);
    if (!bytes || size <= 0) {
        fail(error, QStringLiteral("the container is empty"));
        return std::nullopt;
    }
    return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
}

} // namespace VexoTool
