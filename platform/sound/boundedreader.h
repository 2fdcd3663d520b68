// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <sndfile.h>

#include <memory>

class QIODevice;

namespace platform {

// The file under libsndfile's virtual I/O: read, never mapped, and never past the size the file had
// when it was opened, so that a file that grows, or lies about its size, cannot be read for ever.
// The first read that fails ends the file there: what came before it still plays.
class BoundedReader final
{
    Q_DISABLE_COPY_MOVE(BoundedReader)

public:
    explicit BoundedReader(std::unique_ptr<QIODevice> device);
    ~BoundedReader();

    // The callbacks, each given this reader as its user data.
    static SF_VIRTUAL_IO *callbacks();

    sf_count_t length() const { return m_size; }
    sf_count_t read(void *to, sf_count_t count);
    sf_count_t seek(sf_count_t offset, int whence);
    sf_count_t tell() const { return m_position; }

private:
    std::unique_ptr<QIODevice> m_device;
    qint64 m_size;
    qint64 m_position = 0;
    bool m_failed = false;
};

} // namespace platform
