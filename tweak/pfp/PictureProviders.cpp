#include "tweak/pfp/PictureProviders.h"

#include "tweak/Brix.h"
#include "tweak/pfp/BrixDiscordContactPhotoProvider.h"
#include "tweak/pfp/BrixDownload.h"
#include "tweak/pfp/BrixInstagramContactPhotoProvider.h"
#include "tweak/pfp/BrixMessagesContactPhotoProvider.h"
#include "tweak/pfp/BrixMessengerContactPhotoProvider.h"
#include "tweak/pfp/BrixSlackContactPhotoProvider.h"
#include "tweak/pfp/BrixTelegramContactPhotoProvider.h"
#include "tweak/pfp/BrixTwitterContactPhotoProvider.h"
#include "tweak/pfp/BrixWhatsAppContactPhotoProvider.h"
#include "tweak/pfp/FolderFinder.h"
#include "tweak/pfp/TypeCheckHelper.h"

namespace brix {

void definePictureProviders(Brix& brix)
{
    if (!brix.runtime().classNamed("UIView"))
        return;
    pfp::FolderFinder::defineClass(brix);
    pfp::TypeCheckHelper::defineClass(brix);
    pfp::BrixDownload::defineClass(brix);
    pfp::BrixWhatsAppContactPhotoProvider::defineClass(brix);
    pfp::BrixTelegramContactPhotoProvider::defineClass(brix);
    pfp::BrixSlackContactPhotoProvider::defineClass(brix);
    pfp::BrixTwitterContactPhotoProvider::defineClass(brix);
    pfp::BrixDiscordContactPhotoProvider::defineClass(brix);
    pfp::BrixInstagramContactPhotoProvider::defineClass(brix);
    pfp::BrixMessengerContactPhotoProvider::defineClass(brix);
    pfp::BrixMessagesContactPhotoProvider::defineClass(brix);
}

} // namespace brix
