#pragma once

#include <QString>

// A small memory disk (tmpfs) mounted on a folder for as long as this object lives, so that a test can run
// the disk full without touching any real one. Mounting needs root; where it is refused, mounted() is
// false and failure() says why.
class SmallDisk {
public:
    SmallDisk(const QString& folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString failure() const { return m_failure; }

    // Fills the disk with one file at path, up to the last byte it takes; returns the file's size.
    qint64 fill(const QString& path);
    // Shortens the file that fill() made so that about bytes are free again.
    void leaveFree(const QString& path, qint64 bytes);

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_failure;
};
