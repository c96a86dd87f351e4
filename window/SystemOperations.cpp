#include "window/SystemOperations.h"

namespace {
// {Chinese, English}
Caption cap(const char *cn, const char *en)
{
    return {QString::fromUtf8(cn), QString::fromUtf8(en)};
}

std::vector<SystemOperation> makeOperations()
{
    using G = OperationGroup;
    const Caption none;
    return {
        {G::System,
         "restartButton",
         cap("系统重启", "Restart"),
         cap("你确定要重启吗？", "Do you confirm to restar?"),
         "RST",
         3,
         cap("系统重启", "Restar"),
         {}},
        {G::System,
         "restoreButton",
         cap("恢复出厂参数", "Restore"),
         cap("你确定要恢复出厂参数吗？", "Do you confirm to restore to factory parameters?"),
         "RESTORE",
         4,
         cap("恢复出厂参数", "Restore"),
         {}},
        {G::System,
         "memoryButton",
         cap("查询可用内存", "Check the Memory"),
         none,
         "MEMINF",
         5,
         cap("查询实时内存信息", "check memory"),
         {}},
        {G::System,
         "smartLinkButton",
         cap("进入SmartLink", "Enter to SmartLink"),
         cap("你确定要进入SmartLink模式吗？", "Do you confirm to Enter SmartLink mode?"),
         "SMARTC",
         6,
         cap("进入SmartLink模式", "Enter SmartLink"),
         {}},
        {G::Base, "stationListButton", cap("查询接入设备", "Query Connected Stations"), none, "LSSTAINF", 7,
         cap("查询接入设备信息", "Query connected Stations"), Field::ListMemo},
        {G::Base, "apSearchButton", cap("搜索AP", "Search AP"), none, "LSAPINF", 8,
         cap("搜索附近AP", "Search AP"), Field::ListMemo},
        {G::Base, "serverStateButton", cap("服务器连接状态", "Server Connection status"), none, "CLIENTLINK",
         9, cap("查询服务器连接状态", "check connection with server"), Field::ServerState},
        {G::Base, "wifiStateButton", cap("WiFi连接状态", "WiFi Connection status"), none, "WIFISTATE", 10,
         cap("查询WiFi连接状态", "check connection with WiFi AP"), Field::WifiState},
        {G::Base, "stationIpButton", cap("查询Station IP", "Query Station IP"), none, "CURRENTSTAIP", 11,
         cap("查询当前station的IP", "check Station IP"), Field::CurrentStationIp},
        {G::Base, "versionButton", cap("查询软件版本", "Get Version"), none, "QXVERSION", 98,
         cap("查询软件版本", "Get Version"), Field::Version},
    };
}
} // namespace

const std::vector<SystemOperation> &SystemOperations()
{
    static const std::vector<SystemOperation> operations = makeOperations();
    return operations;
}
