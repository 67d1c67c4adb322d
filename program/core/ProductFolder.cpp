#include "program/core/ProductFolder.h"

#include "library/fs/FsFolders.h"

const char* const ProductName = "Norvale PST Straysweep";

NvFsPath GetAppDataFolder()
{
    return GetAppDataSubfolder(ProductName);
}
