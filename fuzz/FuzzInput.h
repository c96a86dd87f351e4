#pragma once

// Splits one fuzz input into the choices and byte strings a target needs. Reading past the end gives
// zeros and empty strings, so every input, however short, is a complete run.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    bool atEnd() const { return pos_ >= size_; }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool flag() { return (byte() & 1) != 0; }
    // One of count choices (count >= 1).
    int pick(int count) { return byte() % count; }
    // A byte string whose length (at most 255) comes first.
    QByteArray chunk()
    {
        const size_t length = byte();
        return take(length);
    }
    // Everything not read yet.
    QByteArray rest() { return take(size_ - pos_); }

private:
    QByteArray take(size_t length)
    {
        const size_t n = length < size_ - pos_ ? length : size_ - pos_;
        const QByteArray out(reinterpret_cast<const char *>(data_ + pos_), static_cast<qsizetype>(n));
        pos_ += n;
        return out;
    }

    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};
