#pragma once
// The database classes in one include, for code written against the class library.
#include "platform/afx/db/database.h"
#include "platform/afx/db/dbconst.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvariant.h"
#include "platform/afx/db/fieldexchange.h"
#include "platform/afx/db/recordset.h"
