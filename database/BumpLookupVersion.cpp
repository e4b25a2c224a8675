// PalmUpdt counter update.
#include "database/BumpLookupVersion.h"

#include "dbaccess/CAdoRecordset.h"

void BumpLookupVersion(CADODataBase& db)
{
    CAdoRecordset version(&db);
    if (!version.OpenTable("QlVersion"))
        return;
    version.m_strFind = "AppCode='PalmUpdt'";
    if (!version.FindFirst()) {
        version.Close();
        return;
    }
    if (version.GetDF_Short("Minor") != 0) {
        std::int16_t major = static_cast<std::int16_t>(version.GetDF_Short("Major") + 1);
        if (major > 10000)
            major = 1;  // the counter runs 1..10000 and never becomes 0
        version.PutDF_Short("Major", major);
        version.PutDF_Short("Minor", 0);
        version.Update();
    }
    version.Close();
}
