#pragma once

namespace brix {

class Brix;

// Defines Brix's own view classes in the process of `brix`: BrixColors,
// BrixTextField and BrixContainer. They are new classes, not changes to the
// system's, so they exist whenever the library is loaded.
void defineViewClasses(Brix&);

} // namespace brix
