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
    pfp::FolderFinder::registerClass(brix);
    pfp::TypeCheckHelper::registerClass(brix);
    pfp::BrixDownload::registerClass(brix);
    pfp::BrixWhatsAppContactPhotoProvider::registerClass(brix);
    pfp::BrixTelegramContactPhotoProvider::registerClass(brix);
    pfp::BrixSlackContactPhotoProvider::registerClass(brix);
    pfp::BrixTwitterContactPhotoProvider::registerClass(brix);
    pfp::BrixDiscordContactPhotoProvider::registerClass(brix);
    pfp::BrixInstagramContactPhotoProvider::registerClass(brix);
    pfp::BrixMessengerContactPhotoProvider::registerClass(brix);
    pfp::BrixMessagesContactPhotoProvider::registerClass(brix);
}

} // namespace brix
