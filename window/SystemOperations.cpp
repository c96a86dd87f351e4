#include "window/SystemOperations.h"

namespace {

std::vector<SystemOperation> makeOperations()
{
    using G = OperationGroup;
    const ShownText none;
    return {
        {G::System,
         "restartButton",
         captionText("SystemOperations", "Restart"),
         captionText("SystemOperations", "Do you confirm to restar?"),
         "RST",
         3,
         captionText("SystemOperations", "Restar"),
         {}},
        {G::System,
         "restoreButton",
         captionText("SystemOperations", "Restore"),
         captionText("SystemOperations", "Do you confirm to restore to factory parameters?"),
         "RESTORE",
         4,
         captionText("SystemOperations", "Restore"),
         {}},
        {G::System,
         "memoryButton",
         captionText("SystemOperations", "Check the Memory"),
         none,
         "MEMINF",
         5,
         captionText("SystemOperations", "check memory"),
         {}},
        {G::System,
         "smartLinkButton",
         captionText("SystemOperations", "Enter to SmartLink"),
         captionText("SystemOperations", "Do you confirm to Enter SmartLink mode?"),
         "SMARTC",
         6,
         captionText("SystemOperations", "Enter SmartLink"),
         {}},
        {G::Base, "stationListButton", captionText("SystemOperations", "Query Connected Stations"), none,
         "LSSTAINF", 7, captionText("SystemOperations", "Query connected Stations"), Field::ListMemo},
        {G::Base, "apSearchButton", captionText("SystemOperations", "Search AP"), none, "LSAPINF", 8,
         captionText("SystemOperations", "Search AP", "status"), Field::ListMemo},
        {G::Base, "serverStateButton", captionText("SystemOperations", "Server Connection status"), none,
         "CLIENTLINK", 9, captionText("SystemOperations", "check connection with server"),
         Field::ServerState},
        {G::Base, "wifiStateButton", captionText("SystemOperations", "WiFi Connection status"), none,
         "WIFISTATE", 10, captionText("SystemOperations", "check connection with WiFi AP"), Field::WifiState},
        {G::Base, "stationIpButton", captionText("SystemOperations", "Query Station IP"), none,
         "CURRENTSTAIP", 11, captionText("SystemOperations", "check Station IP"), Field::CurrentStationIp},
        {G::Base, "versionButton", captionText("SystemOperations", "Get Version"), none, "QXVERSION", 98,
         captionText("SystemOperations", "Get Version"), Field::Version},
    };
}
} // namespace

const std::vector<SystemOperation> &SystemOperations()
{
    static const std::vector<SystemOperation> operations = makeOperations();
    return operations;
}
