#pragma once

namespace ztgl {

// Bringing the permission catalogue of every account set up to date: where a set's BaseLimits
// lacks the group "其它权限" (row ID '10'), five rows are added to BaseLimits and granted to the
// set's default user in User_Permissions.

enum class UpgradeResult { Refused, Upgraded, AlreadyUpgraded, Failed };

// Visits every set of ZTML and tells the operator the outcome. A failure stops the run at that
// set with "DateBaseModifyByZavrin()::升级数据库失败。" and the error text.
UpgradeResult DateBaseModifyByZavrin();

// Asks the operator first (Yes/No), then runs the upgrade.
UpgradeResult ConfirmPermissionUpgrade();

// The main window's menu command.
void RunPermissionUpgrade();

}  // namespace ztgl
