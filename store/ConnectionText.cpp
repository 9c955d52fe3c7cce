#include "ConnectionText.h"

namespace store {

QString buildConnectionText(const QString& dataFolder, const QString& password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + dataFolder +
           QStringLiteral("\\data.mdb") + QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=") +
           password;
}

} // namespace store
