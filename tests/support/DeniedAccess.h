#pragma once

// Makes one device refuse this process while the object lives, as a serial device refuses a user
// outside its group. Tests run as root, for whom mode bits mean nothing: then the device is given to
// a group root's process is not in, with no access for others, and the effective user becomes
// "nobody" until the object ends (keep its scope to the one open). Otherwise the device's mode bits
// are cleared.

#include <QString>
#include <sys/types.h>

class DeniedAccess {
public:
    explicit DeniedAccess(const QString &devicePath);
    ~DeniedAccess();
    DeniedAccess(const DeniedAccess &) = delete;
    DeniedAccess &operator=(const DeniedAccess &) = delete;

    // Empty when the device refuses this process now; otherwise why it could not be arranged.
    QString failure() const { return failure_; }
    // The name of the group that owns the device while it is refused.
    QString group() const { return group_; }

private:
    QString path_;
    QString failure_;
    QString group_;
    mode_t mode_ = 0;
    gid_t gid_ = 0;
    bool changedMode_ = false;
    bool changedOwner_ = false;
    bool droppedUser_ = false;
};
