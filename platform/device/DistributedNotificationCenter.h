#pragma once

#include "platform/device/Forward.h"

namespace device {

// Defines the run-time class "NSDistributedNotificationCenter" in the
// process's run time: `+defaultCenter` (one instance per process) and
//   -addObserver:selector:name:object:         (nil name: every name)
//   -removeObserver:name:object:               (nil name: every name)
//   -removeObserver:
//   -postNotificationName:object:
//   -postNotificationName:object:userInfo:
//   -postNotificationName:object:userInfo:deliverImmediately:
// Names travel as strings, user info as a dictionary value. Objects are
// accepted for the platform's signatures but not carried (see
// DistributedCenter). The methods speak for this process: its postings name
// it as the sender and its observers are delivered to on its main queue.
// Does nothing when the class exists already. Instances are plain objects;
// the state is the device's DistributedCenter.
class DistributedNotificationCenter {
public:
    static void registerClass(Process&);
};

} // namespace device
