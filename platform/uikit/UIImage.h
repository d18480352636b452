#pragma once

#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/Geometry.h"

namespace uikit {

// A picture: its size in points, its scale (pixels per point), and where it
// came from (a device path) or its encoded bytes.
class UIImage : public runtime::NSObject {
public:
    using NSObject::NSObject;

    Size size() const { return m_size; }
    double scale() const { return m_scale; }
    const std::string& path() const { return m_path; }
    const foundation::Data& data() const { return m_data; }

    // A new image of the process's class "UIImage"; sizes below zero count as zero.
    static runtime::Ref<UIImage> make(
        runtime::Runtime&, Size, double scale = 1, std::string path = {}, foundation::Data data = {});

    static void registerClass(device::Process&);

private:
    Size m_size;
    double m_scale { 1 };
    std::string m_path;
    foundation::Data m_data;
};

} // namespace uikit
