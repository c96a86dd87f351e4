#pragma once

// Every value field and list box of the parameter and operation pages, by what it holds. The page
// builders create them; the read/set handlers and the reply parser name them by this id.

enum class Field {
    // "工作模式" group
    WorkMode,
    Dhcp,
    // "AP" group
    ApSsid,
    ApPassword,
    ApChannel,
    ApAuth,
    ApIp,
    ApMask,
    ApGateway,
    ApMac,
    // "Station" group
    StaSsid,
    StaPassword,
    StaIp,
    StaMask,
    StaGateway,
    StaMac,
    StaName,
    StaPwd,
    // "Http Server URL" group
    Url,
    // "网络通讯配置" group
    LocalPort,
    ServerIp,
    ServerPort,
    NetProtocol,
    ClientProtocol,
    Heartbeat,
    DeviceId,
    Zone,
    ZoneValid,
    // "串口相关参数" group
    Baud,
    Parity,
    DataBits,
    StopBits,
    RxTimeout,
    RxMax,
    DebugOutput,
    // "通讯开关与配置" group
    ConnRemote,
    PthServerEn,
    CmdServerEn,
    ServerTime,
    CmdMaxConn,
    PthMaxConn,
    // "基本操作" group results
    ListMemo,
    ServerState,
    WifiState,
    CurrentStationIp,
    Version,

    Count
};
