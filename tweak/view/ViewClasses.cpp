#include "tweak/view/ViewClasses.h"

#include "tweak/Brix.h"
#include "tweak/view/BrixColors.h"
#include "tweak/view/BrixContainer.h"
#include "tweak/view/BrixTextField.h"

namespace brix {

void defineViewClasses(Brix& brix)
{
    // A process without UIKit has nothing to build views from.
    if (!brix.runtime().classNamed("UIView"))
        return;
    BrixColors::registerClass(brix);
    BrixTextField::registerClass(brix);
    BrixContainer::registerClass(brix);
}

} // namespace brix
