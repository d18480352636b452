#pragma once

namespace brix {

class Brix;

// The banner's reply field: a run-time subclass of UITextField with no
// behaviour of its own. Its instances are the platform's text fields.
class BrixTextField {
public:
    // Defines "BrixTextField" in the process of `brix`; does nothing when the
    // process has no UITextField.
    static void registerClass(Brix&);
};

} // namespace brix
