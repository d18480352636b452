#pragma once

namespace brix {

class Brix;

// Defines Brix's profile-picture classes in the process of `brix`: the eight
// providers the hosting guards choose from by app, FolderFinder,
// TypeCheckHelper and the download delegate they share. They are new
// classes, not changes to the system's, so they exist whenever the library is
// loaded into a process with UIKit.
void definePictureProviders(Brix&);

} // namespace brix
