// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/boundedreader.h"

#include <QIODevice>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace platform {

BoundedReader::BoundedReader(std::unique_ptr<QIODevice> device)
    : m_device(std::move(device))
    , m_size(std::max<qint64>(m_device->size(), 0))
{ }

BoundedReader::~BoundedReader() = default;

sf_count_t BoundedReader::read(void *to, sf_count_t count)
{
    const qint64 wanted = std::min<qint64>(count, m_size - m_position);
    if (m_failed || wanted <= 0)
        return 0;
    if (m_device->pos() != m_position && !m_device->seek(m_position)) {
        m_failed = true;
        return 0;
    }
    const qint64 got = m_device->read(static_cast<char *>(to), wanted);
    if (got < 0) {
        m_failed = true;
        return 0;
    }
    m_position += got;
    return got;
}

sf_count_t BoundedReader::seek(sf_count_t offset, int whence)
{
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = m_position;
    else if (whence == SEEK_END)
        base = m_size;
    // Only the position moves: the device is sought at the next read, and a place past the end
    // just reads nothing.
    if (offset < -base || offset > std::numeric_limits<qint64>::max() - base)
        return -1;
    m_position = base + offset;
    return m_position;
}

SF_VIRTUAL_IO *BoundedReader::callbacks()
{
    static SF_VIRTUAL_IO io {
        [](void *self) { return static_cast<BoundedReader *>(self)->length(); },
        [](sf_count_t offset, int whence, void *self) {
            return static_cast<BoundedReader *>(self)->seek(offset, whence);
        },
        [](void *to, sf_count_t count, void *self) {
            return static_cast<BoundedReader *>(self)->read(to, count);
        },
        [](const void *, sf_count_t, void *) -> sf_count_t { return 0; }, // never written
        [](void *self) { return static_cast<BoundedReader *>(self)->tell(); },
    };
    return &io;
}

} // namespace platform
