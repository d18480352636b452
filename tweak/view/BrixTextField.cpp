#include "tweak/view/BrixTextField.h"

#include "tweak/Brix.h"

namespace brix {

namespace {

    // Builds an instance of the superclass's C++ type and gives it the subclass,
    // so the subclass adds methods without a C++ type of its own.
    runtime::Object* createAsSuperclassInstance(runtime::Class* cls)
    {
        runtime::Object* object = cls->superclass()->createInstance();
        if (object)
            object->setIsa(cls);
        return object;
    }

} // namespace

void BrixTextField::registerClass(Brix& brix)
{
    auto& runtime = brix.runtime();
    if (runtime.classNamed("BrixTextField") || !runtime.classNamed("UITextField"))
        return;
    runtime.defineClassWithFactory("BrixTextField", "UITextField", &createAsSuperclassInstance);
}

} // namespace brix
