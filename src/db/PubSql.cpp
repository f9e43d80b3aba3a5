// Placeholder until the database access procedures land.
#include "db/PubSql.h"
namespace ztgl {
DBProfile gDBProfile;
QString Get_ConnectString() { return QString(); }
int Open_Connect() { return 0; }
}  // namespace ztgl
