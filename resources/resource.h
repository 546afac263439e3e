// Resource IDs of the satellite resource module "ZynCommonResources"
// (resources/ZynCommonResources.rc). Shared by the script and the library's C++ code, so
// these stay preprocessor definitions.
//
// The module is searched after the host's own resources (see app/zyncmn_resources.h), so
// its IDs lie in ranges that host applications leave free: strings from 30000.
#pragma once

// Strings
#define IDS_ZYN_COMMON_RESOURCES        30000   // the module's own name, to check the chain

// Next default values for new objects
#define _ZYN_NEXT_STRING_ID             30001
