<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ApplyProfileDialog</name>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Module value</source>
        <translation>模块数值</translation>
    </message>
    <message>
        <source>Profile value</source>
        <translation>配置文件数值</translation>
    </message>
    <message>
        <source>Differs</source>
        <translation>不同</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>(not read: %1)</source>
        <translation>（未读取：%1）</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Writing %1</source>
        <translation>正在写入%1</translation>
    </message>
    <message>
        <source>Reading %1</source>
        <translation>正在读取%1</translation>
    </message>
    <message>
        <source>Reading was cancelled.</source>
        <translation>读取已取消。</translation>
    </message>
    <message>
        <source>Reading stopped: %1.</source>
        <translation>读取已中止：%1。</translation>
    </message>
    <message>
        <source>%1 of %2 parameters differ from the module.</source>
        <translation>%2个参数中有%1个与模块不同。</translation>
    </message>
    <message>
        <source>%1 unknown.</source>
        <translation>%1个未知。</translation>
    </message>
    <message>
        <source>Apply profile</source>
        <translation>应用配置文件</translation>
    </message>
    <message>
        <source>Compare with profile</source>
        <translation>与配置文件比较</translation>
    </message>
    <message>
        <source>Profile file</source>
        <translation>配置文件</translation>
    </message>
    <message>
        <source>Profile parameters</source>
        <translation>配置文件参数</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Write all</source>
        <translation>全部写入</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>CheckRules</name>
    <message>
        <source>Value Can not be blank!</source>
        <translation>不能设置为空值！</translation>
    </message>
    <message>
        <source>Value Can not be 11 bytes!</source>
        <translation>ID必须为11位！</translation>
    </message>
    <message>
        <source>Value Can not be 4 bytes!</source>
        <translation>ID必须为4位！</translation>
    </message>
    <message>
        <source>Value Can not contain line breaks!</source>
        <translation>不能包含换行符！</translation>
    </message>
    <message>
        <source>Value Can not contain double quotes!</source>
        <translation>不能包含双引号！</translation>
    </message>
</context>
<context>
    <name>CommandDispatch</name>
    <message>
        <source>Setting %1......</source>
        <translation>正在设置%1......</translation>
    </message>
    <message>
        <source>Setting %1(LAN)......</source>
        <translation>正在通过局域网设置%1......</translation>
    </message>
    <message>
        <source>Setting %1(WAN)......</source>
        <translation>正在通过互联网设置%1......</translation>
    </message>
    <message>
        <source>Reading %1......</source>
        <translation>正在读取%1......</translation>
    </message>
    <message>
        <source>Reading %1(LAN)......</source>
        <translation>正在通过局域网读取%1......</translation>
    </message>
    <message>
        <source>Reading %1(WAN)......</source>
        <translation>正在通过互联网读取%1......</translation>
    </message>
    <message>
        <source>Enter AT mode</source>
        <translation>进入AT配置模式</translation>
    </message>
    <message>
        <source>AT test</source>
        <translation>AT测试</translation>
    </message>
    <message>
        <source>Enter Data mode</source>
        <translation>进入数传模式</translation>
    </message>
</context>
<context>
    <name>CommandsPage</name>
    <message>
        <source>Base Operation</source>
        <translation>基本操作</translation>
    </message>
    <message>
        <source>System Operation</source>
        <translation>系统操作</translation>
    </message>
    <message>
        <source>Query result</source>
        <translation>查询结果</translation>
    </message>
</context>
<context>
    <name>DataPage</name>
    <message>
        <source>Sending data......</source>
        <translation>正在发送数据......</translation>
    </message>
    <message>
        <source>Sending data(LAN)......</source>
        <translation>正在通过局域网设置发送数据......</translation>
    </message>
    <message>
        <source>Sending data(WAN)......</source>
        <translation>正在通过互联网设置发送数据......</translation>
    </message>
    <message>
        <source>The HEX data holds &quot;%1&quot; (%2), which is not a hex digit! Use only 0-9, A-F and blanks. Nothing was sent.</source>
        <translation>HEX数据中的“%1”(%2)不是十六进制数字！只能使用0-9、A-F和空格。数据没有发送。</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Search Result</source>
        <translation>搜索结果</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型：</translation>
    </message>
    <message>
        <source>ASCII</source>
        <translation>ASCII</translation>
    </message>
    <message>
        <source>HEX</source>
        <translation>HEX</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
</context>
<context>
    <name>DeviceDiscovery</name>
    <message>
        <source>no IPv4 address for %1</source>
        <translation>%1没有IPv4地址</translation>
    </message>
    <message>
        <source>cannot use UDP port %1: %2 (give --local-port 0 for any free port)</source>
        <translation>无法使用UDP端口%1：%2（用 --local-port 0 选任一空闲端口）</translation>
    </message>
</context>
<context>
    <name>DiscoverySearch</name>
    <message>
        <source>Invalid UDP port: </source>
        <translation>无效的UDP端口：</translation>
    </message>
    <message>
        <source>Not an IPv4 address: </source>
        <translation>不是IPv4地址：</translation>
    </message>
    <message>
        <source>No IPv4 address for host </source>
        <translation>主机没有IPv4地址：</translation>
    </message>
</context>
<context>
    <name>Field</name>
    <message>
        <source>Disable</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Disable</source>
        <comment>zone</comment>
        <translation>无效</translation>
    </message>
    <message>
        <source>Enable</source>
        <comment>zone</comment>
        <translation>有效</translation>
    </message>
    <message>
        <source>Work mode</source>
        <translation>工作模式</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>AP SSID</source>
        <translation>AP SSID</translation>
    </message>
    <message>
        <source>AP Password</source>
        <translation>AP密码</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>工作信道</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>认证</translation>
    </message>
    <message>
        <source>AP IP</source>
        <translation>AP IP</translation>
    </message>
    <message>
        <source>APMASK</source>
        <translation>APMASK</translation>
    </message>
    <message>
        <source>AP Gateway</source>
        <translation>APGateWay</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>WiFi SSID</source>
        <translation>WiFi SSID</translation>
    </message>
    <message>
        <source>Station Password</source>
        <translation>WiFi密码</translation>
    </message>
    <message>
        <source>StationIP</source>
        <translation>StationIP</translation>
    </message>
    <message>
        <source>StationMASK</source>
        <translation>StationMASK</translation>
    </message>
    <message>
        <source>StationGateWay</source>
        <translation>StationGateWay</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>PWD</source>
        <translation>PWD</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Local Port</source>
        <translation>本地服务端口</translation>
    </message>
    <message>
        <source>Server IP</source>
        <translation>服务器IP</translation>
    </message>
    <message>
        <source>Server Port</source>
        <translation>服务器端口</translation>
    </message>
    <message>
        <source>Network Protocol</source>
        <translation>网络协议</translation>
    </message>
    <message>
        <source>Client Protocol</source>
        <translation>Client协议</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>透明</translation>
    </message>
    <message>
        <source>Single protocol</source>
        <translation>Single协议</translation>
    </message>
    <message>
        <source>Heartbeat Interval(s)</source>
        <translation>心跳周期(S)</translation>
    </message>
    <message>
        <source>WiFi ID</source>
        <translation>设备ID</translation>
    </message>
    <message>
        <source>Zone</source>
        <translation>区号</translation>
    </message>
    <message>
        <source>Zone Enable</source>
        <translation>区号有效</translation>
    </message>
    <message>
        <source>BaudRate</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <source>Verify</source>
        <translation>校验</translation>
    </message>
    <message>
        <source>Databits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Stopbits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Data MinInterval(ms)</source>
        <translation>串口等待延时(ms)</translation>
    </message>
    <message>
        <source>Max Package(Bytes)</source>
        <translation>串口最大包长(Byte)</translation>
    </message>
    <message>
        <source>Debug information</source>
        <translation>调试信息输出</translation>
    </message>
    <message>
        <source>Server Connection</source>
        <translation>远程连接开关</translation>
    </message>
    <message>
        <source>Data transmission</source>
        <translation>网络数据开关</translation>
    </message>
    <message>
        <source>Network Setting</source>
        <translation>网络配置开关</translation>
    </message>
    <message>
        <source>Service timeout</source>
        <translation>服务超时时间(S)</translation>
    </message>
    <message>
        <source>Setting MAX Number</source>
        <translation>配置连接最大数</translation>
    </message>
    <message>
        <source>Data MAX Number</source>
        <translation>数传端口最大数</translation>
    </message>
</context>
<context>
    <name>IoPage</name>
    <message>
        <source>Please chose options first!</source>
        <translation>你还没有选择相关的IO选项！</translation>
    </message>
    <message>
        <source>Write IO%1</source>
        <translation>写IO%1</translation>
    </message>
    <message>
        <source>Read IO%1</source>
        <translation>读IO%1</translation>
    </message>
    <message>
        <source>%1......</source>
        <comment>an IO command sent on the serial port</comment>
        <translation>正在设置%1......</translation>
    </message>
    <message>
        <source>IO1</source>
        <translation>IO1</translation>
    </message>
    <message>
        <source>IO2</source>
        <translation>IO2</translation>
    </message>
    <message>
        <source>IO3</source>
        <translation>IO3</translation>
    </message>
    <message>
        <source>IO4</source>
        <translation>IO4</translation>
    </message>
    <message>
        <source>IO5(O)</source>
        <translation>IO5(反)</translation>
    </message>
    <message>
        <source>IO6</source>
        <translation>IO6</translation>
    </message>
    <message>
        <source>IO7</source>
        <translation>IO7</translation>
    </message>
    <message>
        <source>IO8</source>
        <translation>IO8</translation>
    </message>
    <message>
        <source>IO mode</source>
        <translation>IO模式</translation>
    </message>
    <message>
        <source>Pull-up</source>
        <translation>是否上拉</translation>
    </message>
    <message>
        <source>Power Level</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Pull-up</source>
        <comment>item</comment>
        <translation>上拉</translation>
    </message>
    <message>
        <source>Suspend</source>
        <translation>悬浮</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>低电平</translation>
    </message>
    <message>
        <source>High</source>
        <translation>高电平</translation>
    </message>
</context>
<context>
    <name>LinkGroup</name>
    <message>
        <source>Port must be a number from 1 to 65535!</source>
        <translation>端口必须是1到65535之间的数字！</translation>
    </message>
    <message>
        <source>Port can not be blank!</source>
        <translation>端口不能为空！</translation>
    </message>
    <message>
        <source>IP or Port can not be blank!</source>
        <translation>IP或Port不能为空值！</translation>
    </message>
    <message>
        <source>Link Type</source>
        <translation>通讯链路</translation>
    </message>
    <message>
        <source>COM</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>LAN:</source>
        <translation>局域网：</translation>
    </message>
    <message>
        <source>Internet:</source>
        <translation>互联网：</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>目标ID</translation>
    </message>
</context>
<context>
    <name>LogToFileAction</name>
    <message>
        <source>Log to file</source>
        <translation>记录日志到文件</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文本文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Could not log to %1: %2</source>
        <translation>无法记录日志到 %1：%2</translation>
    </message>
    <message>
        <source>the file was removed or replaced</source>
        <translation>文件已被删除或替换</translation>
    </message>
    <message>
        <source>Logging to %1 stopped: %2</source>
        <translation>记录日志到 %1 已停止：%2</translation>
    </message>
    <message>
        <source>Log to file…</source>
        <translation>记录日志到文件…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>[Older lines were removed: the console keeps the last %1 KB. File &gt; Log to file… keeps everything.]</source>
        <translation>[较早的行已删除：通讯日志只保留最近的%1 KB。“文件”&gt;“记录日志到文件…”可保留全部内容。]</translation>
    </message>
    <message>
        <source>Save log</source>
        <translation>保存日志</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文本文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Could not save the log to %1: %2</source>
        <translation>无法保存日志到 %1：%2</translation>
    </message>
    <message>
        <source>QX5120 WiFi Module Setting Software</source>
        <translation>QX5120 WiFi模块配置软件</translation>
    </message>
    <message>
        <source>WiFi Module Setting Software</source>
        <translation>WiFi模块配置软件</translation>
    </message>
    <message>
        <source>Console log</source>
        <translation>通讯日志</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>基本参数</translation>
    </message>
    <message>
        <source>Excute and Switch</source>
        <translation>命令与开关配置</translation>
    </message>
    <message>
        <source>IO set and read</source>
        <translation>IO控制与读取</translation>
    </message>
    <message>
        <source>Data Transmission and Broadcast Search</source>
        <translation>数据发送与广播搜索</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>COM setting</source>
        <translation>串口设置</translation>
    </message>
    <message>
        <source>Target ID</source>
        <translation>远程目标ID</translation>
    </message>
    <message>
        <source>Save log…</source>
        <translation>保存日志…</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Maker</source>
        <translation>制造商</translation>
    </message>
    <message>
        <source>Link state</source>
        <translation>连接状态</translation>
    </message>
    <message>
        <source>Operation state</source>
        <translation>操作状态</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Target GPRS</source>
        <translation>目标WiFi模块</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Zone</source>
        <translation>区号</translation>
    </message>
    <message>
        <source>Zone Enabed</source>
        <translation>区号有效</translation>
    </message>
    <message>
        <source>Local ID</source>
        <translation>本地ID</translation>
    </message>
    <message>
        <source>Local Zone</source>
        <translation>本地区号</translation>
    </message>
    <message>
        <source>Commands show HEX</source>
        <translation>收发数据显示HEX</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Zone Must be 4 bytes!</source>
        <translation>区号应该为4位！</translation>
    </message>
    <message>
        <source>GPRS ID Must be 11 bytes!</source>
        <translation>GPRS ID应该为11位！</translation>
    </message>
    <message>
        <source>Local ID Must be 11 bytes!</source>
        <translation>Local ID应该为11位！</translation>
    </message>
</context>
<context>
    <name>ParameterGroups</name>
    <message>
        <source>Work mode</source>
        <translation>工作模式</translation>
    </message>
    <message>
        <source>Network Communication</source>
        <translation>网络通讯配置</translation>
    </message>
    <message>
        <source>Serial settings</source>
        <translation>串口相关参数</translation>
    </message>
    <message>
        <source>Communcation Switch and settings</source>
        <translation>通讯开关与配置</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>set</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>ParameterRead</name>
    <message>
        <source>work mode</source>
        <translation>工作模式</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>AP Info</source>
        <translation>AP信息</translation>
    </message>
    <message>
        <source>AP IP</source>
        <translation>AP IP</translation>
    </message>
    <message>
        <source>AP MAC</source>
        <translation>AP MAC</translation>
    </message>
    <message>
        <source>Station SSID</source>
        <translation>Station SSID</translation>
    </message>
    <message>
        <source>Station IP</source>
        <translation>Station IP</translation>
    </message>
    <message>
        <source>Station MAC</source>
        <translation>Station MAC</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>PWD</source>
        <translation>PWD</translation>
    </message>
    <message>
        <source>httpserver</source>
        <translation>httpserver</translation>
    </message>
    <message>
        <source>Local port</source>
        <translation>本地服务端口</translation>
    </message>
    <message>
        <source>server IP</source>
        <translation>服务器IP</translation>
    </message>
    <message>
        <source>server port</source>
        <translation>服务器端口</translation>
    </message>
    <message>
        <source>Network protocol</source>
        <translation>网络协议</translation>
    </message>
    <message>
        <source>Client protocol</source>
        <translation>客户端传输协议</translation>
    </message>
    <message>
        <source>Heartbeat interval</source>
        <translation>心跳周期</translation>
    </message>
    <message>
        <source>Device ID</source>
        <translation>设备ID</translation>
    </message>
    <message>
        <source>ZONE</source>
        <translation>区号</translation>
    </message>
    <message>
        <source>Zone enable</source>
        <translation>区号有效</translation>
    </message>
    <message>
        <source>Serial baudRate</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <source>Serial Data format</source>
        <translation>串口数据格式</translation>
    </message>
    <message>
        <source>Serial time out</source>
        <translation>串口等待延时</translation>
    </message>
    <message>
        <source>Serial Data Max Length</source>
        <translation>串口接收最大包长</translation>
    </message>
    <message>
        <source>Serial Debug information</source>
        <translation>串口调试信息输出</translation>
    </message>
    <message>
        <source>Connectioin with server swith</source>
        <translation>连接远程服务器开关</translation>
    </message>
    <message>
        <source>Data in LAN switch</source>
        <translation>网络数据服务开关</translation>
    </message>
    <message>
        <source>setting by LAN swith</source>
        <translation>网络配置开关</translation>
    </message>
    <message>
        <source>Server time out</source>
        <translation>服务超时时间</translation>
    </message>
    <message>
        <source>Setting port Max conections number</source>
        <translation>配置端口连接最大数</translation>
    </message>
    <message>
        <source>Data port Max conections number</source>
        <translation>数传端口连接最大数</translation>
    </message>
</context>
<context>
    <name>ParameterRun</name>
    <message>
        <source>refused: %1</source>
        <translation>被拒绝：%1</translation>
    </message>
    <message>
        <source>written, but the read-back failed: %1</source>
        <translation>已写入，但读回失败：%1</translation>
    </message>
    <message>
        <source>not sent</source>
        <translation>未发出</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>%1毫秒内没有应答</translation>
    </message>
    <message>
        <source>reply too long (over 64 KiB)</source>
        <translation>应答过长（超过64 KiB）</translation>
    </message>
    <message>
        <source>unclear reply: %1</source>
        <translation>应答不明：%1</translation>
    </message>
    <message>
        <source>written, but read back %1</source>
        <translation>已写入，但读回%1</translation>
    </message>
</context>
<context>
    <name>ParameterSet</name>
    <message>
        <source>work mode</source>
        <translation>工作模式</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>AP Info</source>
        <translation>AP信息</translation>
    </message>
    <message>
        <source>AP IP</source>
        <translation>AP IP</translation>
    </message>
    <message>
        <source>AP MAC</source>
        <translation>AP MAC</translation>
    </message>
    <message>
        <source>Station SSID</source>
        <translation>Station SSID</translation>
    </message>
    <message>
        <source>Station IP</source>
        <translation>Station IP</translation>
    </message>
    <message>
        <source>Station MAC</source>
        <translation>Station MAC</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>PWD</source>
        <translation>PWD</translation>
    </message>
    <message>
        <source>httpserver URL</source>
        <translation>httpserver URL</translation>
    </message>
    <message>
        <source>Local port</source>
        <translation>本地服务端口</translation>
    </message>
    <message>
        <source>Server IP</source>
        <translation>远程服务IP</translation>
    </message>
    <message>
        <source>Server port</source>
        <translation>远程服务器端口</translation>
    </message>
    <message>
        <source>Network protocol</source>
        <translation>网络协议</translation>
    </message>
    <message>
        <source>Client protocol</source>
        <translation>Client协议</translation>
    </message>
    <message>
        <source>Heartbeat Interval</source>
        <translation>心跳周期</translation>
    </message>
    <message>
        <source>Device ID</source>
        <translation>WiFi模块ID</translation>
    </message>
    <message>
        <source>Zone</source>
        <translation>区号</translation>
    </message>
    <message>
        <source>Zone Enable</source>
        <translation>区号有效</translation>
    </message>
    <message>
        <source>Serial baudRate</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <source>Serial Data format</source>
        <translation>串口数据格式</translation>
    </message>
    <message>
        <source>Serial time out</source>
        <translation>串口接收超时时间</translation>
    </message>
    <message>
        <source>Package Max length</source>
        <translation>串口最大包长</translation>
    </message>
    <message>
        <source>Serial Debug information</source>
        <translation>串口调试信息输出</translation>
    </message>
    <message>
        <source>Server connection swith</source>
        <translation>连接远程服务器开关</translation>
    </message>
    <message>
        <source>Local Server swith</source>
        <translation>本地Server开关</translation>
    </message>
    <message>
        <source>Setting from Network swith</source>
        <translation>网络配置开关</translation>
    </message>
    <message>
        <source>Client time out</source>
        <translation>服务超时时间</translation>
    </message>
    <message>
        <source>Setting port Max number</source>
        <translation>配置端口最大连接数</translation>
    </message>
    <message>
        <source>Data port Max number</source>
        <translation>数传端口最大连接数</translation>
    </message>
</context>
<context>
    <name>ParametersPage</name>
    <message>
        <source>Save&amp;&amp;Reboot</source>
        <translation>保存重启</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>the file is larger than 1 MiB</source>
        <translation>文件大于1 MiB</translation>
    </message>
    <message>
        <source>the line holds a 00 byte</source>
        <translation>该行含有00字节</translation>
    </message>
    <message>
        <source>the line is not UTF-8 text</source>
        <translation>该行不是UTF-8文本</translation>
    </message>
    <message>
        <source>the line is longer than 4096 bytes</source>
        <translation>该行超过4096字节</translation>
    </message>
    <message>
        <source>not NAME=value</source>
        <translation>不是 名称=数值 的形式</translation>
    </message>
    <message>
        <source>unknown parameter</source>
        <translation>未知参数</translation>
    </message>
    <message>
        <source>given twice, first on line %1</source>
        <translation>重复，首次在第%1行</translation>
    </message>
    <message>
        <source>value refused</source>
        <translation>数值被拒绝</translation>
    </message>
    <message>
        <source>the module would be sent</source>
        <translation>实际将发送</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (U+%2) cannot be sent: the module takes GBK text</source>
        <translation>&quot;%1&quot;（U+%2）无法发送：模块只接受GBK文本</translation>
    </message>
    <message>
        <source>too many problems; the rest are not listed</source>
        <translation>问题太多，其余未列出</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第%1行：%2</translation>
    </message>
    <message>
        <source>column %1: %2</source>
        <translation>第%1列：%2</translation>
    </message>
    <message>
        <source>line %1, column %2: %3</source>
        <translation>第%1行第%2列：%3</translation>
    </message>
</context>
<context>
    <name>ProfileActions</name>
    <message>
        <source>Profiles (*.txt);;All files (*)</source>
        <translation>配置文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Save profile</source>
        <translation>保存配置文件</translation>
    </message>
    <message>
        <source>Could not save the profile to %1: %2</source>
        <translation>无法保存配置文件到 %1：%2</translation>
    </message>
    <message>
        <source>Profile saved to %1: %2 parameters, %3 left out.</source>
        <translation>配置文件已保存到 %1：%2个参数，%3个未保存。</translation>
    </message>
    <message>
        <source>Could not read the profile %1: %2</source>
        <translation>无法读取配置文件 %1：%2</translation>
    </message>
    <message>
        <source>The profile %1 cannot be used; nothing was sent:</source>
        <translation>配置文件 %1 无法使用，未发送任何命令：</translation>
    </message>
    <message>
        <source>The profile %1 holds no parameters.</source>
        <translation>配置文件 %1 中没有参数。</translation>
    </message>
    <message>
        <source>Apply profile</source>
        <translation>应用配置文件</translation>
    </message>
    <message>
        <source>Compare with profile</source>
        <translation>与配置文件比较</translation>
    </message>
    <message>
        <source>Save profile…</source>
        <translation>保存配置文件…</translation>
    </message>
    <message>
        <source>Apply profile…</source>
        <translation>应用配置文件…</translation>
    </message>
    <message>
        <source>Compare with profile…</source>
        <translation>与配置文件比较…</translation>
    </message>
</context>
<context>
    <name>ReadAllControl</name>
    <message>
        <source>Reading %1 (%2/%3)</source>
        <translation>正在读取%1（%2/%3）</translation>
    </message>
    <message>
        <source>Read all</source>
        <translation>读取全部</translation>
    </message>
    <message>
        <source>Read all progress</source>
        <translation>读取全部进度</translation>
    </message>
    <message>
        <source>Parameter being read</source>
        <translation>正在读取的参数</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Reading</name>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>the reply frame carries no value for %1</source>
        <translation>应答帧中没有以下数值：%1</translation>
    </message>
</context>
<context>
    <name>RunTexts</name>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>.</source>
        <translation>。</translation>
    </message>
    <message>
        <source>not reached</source>
        <translation>未执行</translation>
    </message>
    <message>
        <source>not read: %1</source>
        <translation>未读取：%1</translation>
    </message>
    <message>
        <source>same, not written</source>
        <translation>相同，未写入</translation>
    </message>
    <message>
        <source>written</source>
        <translation>已写入</translation>
    </message>
    <message>
        <source>written and verified</source>
        <translation>已写入并验证</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>失败：%1</translation>
    </message>
    <message>
        <source>Read all: </source>
        <translation>读取全部：</translation>
    </message>
    <message>
        <source>Read all cancelled: </source>
        <translation>读取全部已取消：</translation>
    </message>
    <message>
        <source>Read all stopped (%1): </source>
        <translation>读取全部已中止（%1）：</translation>
    </message>
    <message>
        <source>%1 of %2 parameters read</source>
        <translation>已读取%1/%2个参数</translation>
    </message>
    <message>
        <source>; not read: </source>
        <translation>；读取失败：</translation>
    </message>
    <message>
        <source>Profile %1 applied: </source>
        <translation>配置文件 %1 已应用：</translation>
    </message>
    <message>
        <source>Profile %1 cancelled: </source>
        <translation>配置文件 %1 已取消：</translation>
    </message>
    <message>
        <source>Profile %1 stopped (%2): </source>
        <translation>配置文件 %1 已中止（%2）：</translation>
    </message>
    <message>
        <source>%1 written and verified, %2 written, %3 failed, %4 unchanged</source>
        <translation>已写入并验证%1个，已写入%2个，失败%3个，未改动%4个</translation>
    </message>
    <message>
        <source>; failed: </source>
        <translation>；失败：</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>the serial port %1 is not open</source>
        <translation>串口%1未打开</translation>
    </message>
    <message>
        <source>%1 does not take the %2: %3</source>
        <translation>%1不接受该%2设置：%3</translation>
    </message>
    <message>
        <source>no such serial device: %1</source>
        <translation>没有这个串口设备：%1</translation>
    </message>
    <message>
        <source>permission denied on %1: add yourself to the group &quot;%2&quot; (sudo usermod -aG %2 $USER), then log out and log in again</source>
        <translation>无权打开%1：请把自己加入组“%2”（sudo usermod -aG %2 $USER），然后注销并重新登录</translation>
    </message>
    <message>
        <source>%1 is in use by another program</source>
        <translation>%1正被另一个程序使用</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开%1：%2</translation>
    </message>
    <message>
        <source>the serial port %1 is gone (unplugged, or its other end closed)</source>
        <translation>串口%1已断开（被拔出，或另一端已关闭）</translation>
    </message>
    <message>
        <source>baud rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>flow control</source>
        <translation>流控</translation>
    </message>
</context>
<context>
    <name>SerialPortDialog</name>
    <message>
        <source>COM</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Verify</source>
        <translation>校验</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Begin bits</source>
        <translation>起始位</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>COM port setting</source>
        <translation>串口设置</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The baud rate out of range！</source>
        <translation>波特率的选项超过可选范围！</translation>
    </message>
    <message>
        <source>Open COM%1 Fail！</source>
        <translation>打开COM%1失败！</translation>
    </message>
    <message>
        <source>Close COM%1Fail!</source>
        <comment>message box</comment>
        <translation>关闭串口%1失败！</translation>
    </message>
    <message>
        <source>Close COM%1Fail!</source>
        <comment>status bar</comment>
        <translation>关闭COM%1失败！</translation>
    </message>
</context>
<context>
    <name>SettingsFolderError</name>
    <message>
        <source>No settings folder could be created, so the program could not keep its Config.ini and does not start. Check that one of these folders can be written:
</source>
        <translation>无法创建设置文件夹，程序无法保存 Config.ini，因此不启动。请检查以下文件夹能否写入：
</translation>
    </message>
</context>
<context>
    <name>SystemOperations</name>
    <message>
        <source>Restart</source>
        <translation>系统重启</translation>
    </message>
    <message>
        <source>Do you confirm to restar?</source>
        <translation>你确定要重启吗？</translation>
    </message>
    <message>
        <source>Restar</source>
        <translation>系统重启</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>恢复出厂参数</translation>
    </message>
    <message>
        <source>Do you confirm to restore to factory parameters?</source>
        <translation>你确定要恢复出厂参数吗？</translation>
    </message>
    <message>
        <source>Check the Memory</source>
        <translation>查询可用内存</translation>
    </message>
    <message>
        <source>check memory</source>
        <translation>查询实时内存信息</translation>
    </message>
    <message>
        <source>Enter to SmartLink</source>
        <translation>进入SmartLink</translation>
    </message>
    <message>
        <source>Do you confirm to Enter SmartLink mode?</source>
        <translation>你确定要进入SmartLink模式吗？</translation>
    </message>
    <message>
        <source>Enter SmartLink</source>
        <translation>进入SmartLink模式</translation>
    </message>
    <message>
        <source>Query Connected Stations</source>
        <translation>查询接入设备</translation>
    </message>
    <message>
        <source>Query connected Stations</source>
        <translation>查询接入设备信息</translation>
    </message>
    <message>
        <source>Search AP</source>
        <translation>搜索AP</translation>
    </message>
    <message>
        <source>Server Connection status</source>
        <translation>服务器连接状态</translation>
    </message>
    <message>
        <source>check connection with server</source>
        <translation>查询服务器连接状态</translation>
    </message>
    <message>
        <source>WiFi Connection status</source>
        <translation>WiFi连接状态</translation>
    </message>
    <message>
        <source>check connection with WiFi AP</source>
        <translation>查询WiFi连接状态</translation>
    </message>
    <message>
        <source>Query Station IP</source>
        <translation>查询Station IP</translation>
    </message>
    <message>
        <source>check Station IP</source>
        <translation>查询当前station的IP</translation>
    </message>
    <message>
        <source>Get Version</source>
        <translation>查询软件版本</translation>
    </message>
    <message>
        <source>Search AP</source>
        <comment>status</comment>
        <translation>搜索附近AP</translation>
    </message>
</context>
<context>
    <name>TcpChannel</name>
    <message>
        <source>no answer from %1 within %2 ms</source>
        <translation>%1在%2毫秒内没有应答</translation>
    </message>
    <message>
        <source>the connection to %1 was closed</source>
        <translation>与%1的连接已关闭</translation>
    </message>
</context>
<context>
    <name>TcpConnection</name>
    <message>
        <source>no such TCP port: %1</source>
        <translation>没有这个TCP端口：%1</translation>
    </message>
    <message>
        <source>no answer from %1 within %2 ms</source>
        <translation>%1在%2毫秒内没有应答</translation>
    </message>
    <message>
        <source>connection refused by %1 (nothing listens on that port)</source>
        <translation>%1拒绝连接（该端口上没有服务）</translation>
    </message>
    <message>
        <source>host not found: %1</source>
        <translation>找不到主机：%1</translation>
    </message>
    <message>
        <source>no answer from %1</source>
        <translation>%1没有应答</translation>
    </message>
    <message>
        <source>the connection to %1 was closed</source>
        <translation>与%1的连接已关闭</translation>
    </message>
    <message>
        <source>the connection to %1 failed: %2</source>
        <translation>与%1的连接出错：%2</translation>
    </message>
    <message>
        <source>cannot connect to %1: %2</source>
        <translation>无法连接%1：%2</translation>
    </message>
</context>
<context>
    <name>TcpLink</name>
    <message>
        <source>Send Error(TCP)!</source>
        <translation>向Wifi模块用TCP协议发送数据时出现错误！</translation>
    </message>
    <message>
        <source>Recieved data from network(TCP)!</source>
        <translation>收到来自网络(TCP)的数据！</translation>
    </message>
    <message>
        <source>:TCP Connected Successfully!</source>
        <translation>:TCP连接成功！</translation>
    </message>
    <message>
        <source>:TCP Connected disconnect!</source>
        <translation>:TCP连接失败！</translation>
    </message>
    <message>
        <source>:TCP Connected error!</source>
        <translation>:TCP连接出错！</translation>
    </message>
</context>
<context>
    <name>ToolPanel</name>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>串口选项</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Console log</source>
        <translation>通讯日志</translation>
    </message>
    <message>
        <source>Enter to Setting</source>
        <translation>进入配置</translation>
    </message>
    <message>
        <source>AT</source>
        <translation>AT</translation>
    </message>
    <message>
        <source>Enter to Data</source>
        <translation>进入数传</translation>
    </message>
</context>
<context>
    <name>UdpEndpoint</name>
    <message>
        <source>cannot send to %1:%2: %3</source>
        <translation>无法发送到%1:%2：%3</translation>
    </message>
</context>
<context>
    <name>WindowChannel</name>
    <message>
        <source>the serial port could not be written</source>
        <translation>串口无法写入</translation>
    </message>
    <message>
        <source>the TCP connection could not be used</source>
        <translation>TCP连接无法使用</translation>
    </message>
    <message>
        <source>no link is selected</source>
        <translation>未选择通讯链路</translation>
    </message>
</context>
<context>
    <name>qxctl</name>
    <message>
        <source>Writes a profile (&quot;-&quot;: standard input) to the module: each row that differs is set and read back. One line per row: NAME written, verified, same or failed: why. A profile with problems sends nothing. Exit 0 when every row holds the profile&apos;s value, 1 when some failed, 2 for usage, profile and link errors.</source>
        <translation>把配置文件（“-”为标准输入）写入模块：不同的参数逐个设置并读回核对。每个参数一行结果。有问题的配置文件不发送任何内容。全部成功时退出码0，有失败时1，用法、配置文件或连接错误时2。</translation>
    </message>
    <message>
        <source>Profile file, or - for standard input.</source>
        <translation>配置文件，“-”为标准输入。</translation>
    </message>
    <message>
        <source>Write every row, also those the module holds already.</source>
        <translation>写入所有参数，包括模块已有相同数值的。</translation>
    </message>
    <message>
        <source>Do not read written rows back.</source>
        <translation>写入后不读回核对。</translation>
    </message>
    <message>
        <source>%1 rows not reached</source>
        <translation>%1个参数未执行</translation>
    </message>
    <message>
        <source>Usage: qxctl %1 %2</source>
        <translation>用法：qxctl %1 %2</translation>
    </message>
    <message>
        <source> (see qxctl %1)</source>
        <translation>（见 qxctl %1）</translation>
    </message>
    <message>
        <source>Reads the profile&apos;s rows from the module and prints each one that differs: NAME: module X, profile Y. Exit 0 when none differs, 1 when some do, 2 for usage, profile and link errors.</source>
        <translation>从模块读取配置文件中的参数，输出每个不同之处：名称: 模块 X，配置文件 Y。没有不同时退出码0，有不同时1，用法、配置文件或连接错误时2。</translation>
    </message>
    <message>
        <source>%1: module %2, profile %3</source>
        <translation>%1：模块 %2，配置文件 %3</translation>
    </message>
    <message>
        <source>Sends the discovery request (&quot;REQUEST_DEVICE_DISCOVERY&quot;) as one UDP datagram and prints every answer that comes back within the time-out: sender:answer. Exit 0 when some module answered, 1 when none did, 2 for usage and network errors.</source>
        <translation>以一个UDP数据报发送搜索请求（&quot;REQUEST_DEVICE_DISCOVERY&quot;），输出超时前收到的每个应答：发送方:应答。有模块应答时退出码0，没有时1，用法或网络错误时2。</translation>
    </message>
    <message>
        <source>Send the request to ADDR (default 255.255.255.255, the local network).</source>
        <translation>请求发往ADDR（默认255.255.255.255，即本地网络）。</translation>
    </message>
    <message>
        <source>Modules listen on PORT (default 6999).</source>
        <translation>模块监听的端口（默认6999）。</translation>
    </message>
    <message>
        <source>Send from PORT (default 6998; 0: any free port).</source>
        <translation>从此端口发送（默认6998；0为任一空闲端口）。</translation>
    </message>
    <message>
        <source>Send &quot;REQUEST_DEVICE_SEARCH&quot; instead (the window&apos;s second search button).</source>
        <translation>改发&quot;REQUEST_DEVICE_SEARCH&quot;（窗口的“搜索2”按钮）。</translation>
    </message>
    <message>
        <source>Listen for answers for MS (default 2000).</source>
        <translation>等待应答MS毫秒（默认2000）。</translation>
    </message>
    <message>
        <source>Print [{&quot;address&quot;: ..., &quot;answer&quot;: ...}].</source>
        <translation>输出 [{&quot;address&quot;: ..., &quot;answer&quot;: ...}]。</translation>
    </message>
    <message>
        <source>Show every byte sent and received on stderr.</source>
        <translation>在标准错误上显示收发的每个字节。</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>多余的参数“%1”</translation>
    </message>
    <message>
        <source>bad --%1 &apos;%2&apos;</source>
        <translation>--%1 的值“%2”无效</translation>
    </message>
    <message>
        <source>listening for answers for %1 ms</source>
        <translation>等待应答%1毫秒</translation>
    </message>
    <message>
        <source>The module on serial port DEVICE.</source>
        <translation>串口DEVICE上的模块。</translation>
    </message>
    <message>
        <source>Serial baud rate (default 115200).</source>
        <translation>串口波特率（默认115200）。</translation>
    </message>
    <message>
        <source>Serial data bits, parity (N/E/O/M/S), stop bits (default 8N1).</source>
        <translation>串口数据位、校验（N/E/O/M/S）、停止位（默认8N1）。</translation>
    </message>
    <message>
        <source>The module&apos;s own TCP port on the LAN (default port 8888).</source>
        <translation>局域网上模块自己的TCP端口（默认端口8888）。</translation>
    </message>
    <message>
        <source>The relay server (default port 8888); give --target.</source>
        <translation>中转服务器（默认端口8888）；须给出 --target。</translation>
    </message>
    <message>
        <source>Relay: the module&apos;s 11-digit ID and 4-digit zone. Without ZONE the module answers whatever its zone.</source>
        <translation>中转：模块的11位ID和4位区号。不给区号时不检查区号。</translation>
    </message>
    <message>
        <source>Relay: this tool&apos;s ID (default 00000000000).</source>
        <translation>中转：本工具的ID（默认00000000000）。</translation>
    </message>
    <message>
        <source>Wait at most MS for the connection and for each reply (default 2000; relay 5000).</source>
        <translation>连接和每条应答最多等待MS毫秒（默认2000；中转5000）。</translation>
    </message>
    <message>
        <source>give a link: --serial, --lan or --relay</source>
        <translation>请给出连接方式：--serial、--lan 或 --relay</translation>
    </message>
    <message>
        <source>give only one of --serial, --lan and --relay</source>
        <translation>--serial、--lan、--relay 只能给一个</translation>
    </message>
    <message>
        <source>--%1 goes with --%2</source>
        <translation>--%1 只能与 --%2 同用</translation>
    </message>
    <message>
        <source>--relay needs --target ID[:ZONE]</source>
        <translation>--relay 需要 --target ID[:区号]</translation>
    </message>
    <message>
        <source>opening %1</source>
        <translation>正在打开%1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>无法读取%1：%2</translation>
    </message>
    <message>
        <source>%1 has problems; nothing was sent</source>
        <translation>%1有问题，未发送任何内容</translation>
    </message>
    <message>
        <source>give one PROFILE</source>
        <translation>请给出一个配置文件</translation>
    </message>
    <message>
        <source>Reads the module&apos;s parameters and prints them as a profile (NAME=value lines) that qxctl apply takes back. Exit 0 when every row was read, 1 when some failed (listed on stderr), 2 for usage and link errors.</source>
        <translation>读取模块参数，按配置文件格式（名称=数值，每行一个）输出，可交给 qxctl apply。全部读出时退出码0，有失败时1（列在标准错误上），用法或连接错误时2。</translation>
    </message>
    <message>
        <source>Print {&quot;values&quot;: {NAME: value}, &quot;failures&quot;: {NAME: why}}.</source>
        <translation>输出 {&quot;values&quot;: {名称: 数值}, &quot;failures&quot;: {名称: 原因}}。</translation>
    </message>
    <message>
        <source>Read these rows only (AT names, comma-separated).</source>
        <translation>只读这些参数（AT名称，逗号分隔）。</translation>
    </message>
    <message>
        <source>unknown parameter &apos;%1&apos;</source>
        <translation>未知参数“%1”</translation>
    </message>
    <message>
        <source>writing %1</source>
        <translation>正在写入%1</translation>
    </message>
    <message>
        <source>reading %1 (%2/%3)</source>
        <translation>正在读取%1（%2/%3）</translation>
    </message>
    <message>
        <source>not reached</source>
        <translation>未执行</translation>
    </message>
    <message>
        <source>read</source>
        <translation>已读取</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>未读出</translation>
    </message>
    <message>
        <source>same</source>
        <translation>相同</translation>
    </message>
    <message>
        <source>written</source>
        <translation>已写入</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>已核实</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>%1: the command could not be sent</source>
        <translation>%1：命令无法发送</translation>
    </message>
    <message>
        <source>Sends each COMMAND as it is, CR LF after it (&quot;+++&quot; bare), and prints the one reply it gets. Exit 0 when every command had a reply, 1 when some had none in time or one too long, 2 for usage and link errors.</source>
        <translation>逐条发送命令（后加CR LF，“+++”不加），并输出各自的应答。全部有应答时退出码0，有超时或应答过长时1，用法或连接错误时2。</translation>
    </message>
    <message>
        <source>An AT command, e.g. AT+BAUD=? or +++.</source>
        <translation>AT命令，例如 AT+BAUD=? 或 +++。</translation>
    </message>
    <message>
        <source>give a COMMAND</source>
        <translation>请给出命令</translation>
    </message>
    <message>
        <source>sending %1</source>
        <translation>正在发送%1</translation>
    </message>
    <message>
        <source>%1: no reply within %2 ms</source>
        <translation>%1：%2毫秒内没有应答</translation>
    </message>
    <message>
        <source>%1: reply too long (over 64 KiB)</source>
        <translation>%1：应答过长（超过64 KiB）</translation>
    </message>
    <message>
        <source>give a subcommand</source>
        <translation>请给出子命令</translation>
    </message>
    <message>
        <source>unknown subcommand &apos;%1&apos;</source>
        <translation>未知子命令“%1”</translation>
    </message>
    <message>
        <source>%1 rows not reached</source>
        <comment>ReadTool</comment>
        <translation>%1个参数未读取</translation>
    </message>
    <message>
        <source>Print one JSON object per module.</source>
        <translation>每个模块输出一个JSON对象。</translation>
    </message>
    <message>
        <source>cannot write the log %1: %2</source>
        <translation>无法写入记录文件%1：%2</translation>
    </message>
    <message>
        <source>bad --watch &apos;%1&apos;: wildcards go in the last part of the path only</source>
        <translation>--watch 的值“%1”无效：通配符只能用在路径的最后一段</translation>
    </message>
    <message>
        <source>Also work on every module that answers discovery, over its LAN port 8888 (answers are awaited for --timeout MS, default 2000).</source>
        <translation>另外处理每个应答搜索的模块，经其局域网端口8888（等待应答 --timeout 毫秒，默认2000）。</translation>
    </message>
    <message>
        <source>--discovered: send the request to ADDR (default 255.255.255.255, the local network).</source>
        <translation>--discovered：请求发往ADDR（默认255.255.255.255，即本地网络）。</translation>
    </message>
    <message>
        <source>--discovered: modules listen on PORT (default 6999).</source>
        <translation>--discovered：模块监听的端口（默认6999）。</translation>
    </message>
    <message>
        <source>Work on at most N modules at once (default 16).</source>
        <translation>最多同时处理N个模块（默认16）。</translation>
    </message>
    <message>
        <source>of %1 modules: %2 done, %3 with rows failed or different, %4 with link errors</source>
        <translation>共%1个模块：%2个完成，%3个有参数失败或不同，%4个连接出错</translation>
    </message>
    <message>
        <source>no module answered discovery at %1 port %2 within %3 ms</source>
        <translation>%1端口%2在%3毫秒内没有模块应答搜索</translation>
    </message>
    <message>
        <source>%1 of %2 modules done</source>
        <translation>%2个模块中%1个已完成</translation>
    </message>
    <message>
        <source>no DEVID read; no profile written</source>
        <translation>未读出DEVID，未写配置文件</translation>
    </message>
    <message>
        <source>DEVID %1 was read from another module too; its profile was not written again</source>
        <translation>另一个模块的DEVID也是%1，未再写配置文件</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入%1：%2</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>无法创建文件夹%1</translation>
    </message>
    <message>
        <source>give one --relay, with a --target for each module behind it</source>
        <translation>只能给一个 --relay，其后每个模块各给一个 --target</translation>
    </message>
    <message>
        <source>no answer: not a module, or not at this baud rate</source>
        <translation>没有应答：不是模块，或波特率不同</translation>
    </message>
    <message>
        <source>%1 written</source>
        <translation>写入%1个</translation>
    </message>
    <message>
        <source>Applies a profile to module after module on serial devices matching GLOB, those present at the start too: each new device is written and read back as apply does, then one line says PASS or FAIL with the module&apos;s DEVID, and a CSV row records it. A device is taken again once it has gone. SIGINT or SIGTERM ends after the module in hand. Exit 0 when every module verified, 1 when any failed, 2 for usage, profile and log errors.</source>
        <translation>把配置文件依次写入路径匹配GLOB的串口设备上的模块（包括开始时已有的）：每个新设备像 apply 一样写入并读回核对，然后输出一行 PASS 或 FAIL 及模块的DEVID，并在CSV文件中记录一行。设备拔出后再出现时重新处理。收到SIGINT或SIGTERM时，处理完当前模块后结束。全部成功时退出码0，有失败时1，用法、配置文件或记录文件错误时2。</translation>
    </message>
    <message>
        <source>Serial devices to take, e.g. &apos;/dev/ttyUSB*&apos; or &apos;/dev/serial/by-id/*&apos; (quote it, so that the shell leaves it alone).</source>
        <translation>要处理的串口设备，如&apos;/dev/ttyUSB*&apos;或&apos;/dev/serial/by-id/*&apos;（加引号，以免被shell展开）。</translation>
    </message>
    <message>
        <source>Append one row per module to FILE (created with a header when new): time,device,devid,stamac,result,written,detail.</source>
        <translation>每个模块在FILE中追加一行（新文件先写表头）：time,device,devid,stamac,result,written,detail。</translation>
    </message>
    <message>
        <source>End after N modules.</source>
        <translation>处理N个模块后结束。</translation>
    </message>
    <message>
        <source>Wait at most MS for the port and for each reply (default 2000).</source>
        <translation>打开串口和每条应答最多等待MS毫秒（默认2000）。</translation>
    </message>
    <message>
        <source>give the devices to watch: --watch GLOB</source>
        <translation>请给出要监视的设备：--watch GLOB</translation>
    </message>
    <message>
        <source>waiting for a device at %1</source>
        <translation>等待设备：%1</translation>
    </message>
    <message>
        <source>%1 went away at once</source>
        <translation>%1刚出现就消失了</translation>
    </message>
    <message>
        <source>provisioning %1</source>
        <translation>正在配置%1</translation>
    </message>
    <message>
        <source>%1 provisioned, %2 failed</source>
        <translation>已配置%1个，失败%2个</translation>
    </message>
    <message>
        <source>Write each module&apos;s profile to DIR/DEVID.profile.</source>
        <translation>把每个模块的配置文件写到 DIR/DEVID.profile。</translation>
    </message>
    <message>
        <source>Usage: qxctl SUBCOMMAND [options]

  read     LINK [--json] [--only NAME,...]     print the module&apos;s parameters as a profile
  apply    PROFILE LINK [--all] [--no-verify]  write a profile, read each row back
  diff     PROFILE LINK                        rows where module and profile differ
  send     LINK COMMAND...                     raw AT commands, one reply each
  discover [--address ADDR] [--timeout MS]     find modules on the local network
  provision PROFILE --watch GLOB [--log FILE.csv] [--count N]
                                               apply to each module plugged in, log a row

LINK: --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]
      | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]
      [--timeout MS] [-v]
read, apply and diff take several LINKs, and --discovered for every module that answers
discovery; they work on them at once (--jobs N, default 16).

qxctl SUBCOMMAND --help tells more. Exit codes: 0 done, 1 some rows failed or differ,
2 usage, profile or link error.
</source>
        <translation>用法：qxctl 子命令 [选项]

  read     LINK [--json] [--only NAME,...]     按配置文件格式输出模块参数
  apply    PROFILE LINK [--all] [--no-verify]  写入配置文件，逐个读回核对
  diff     PROFILE LINK                        列出模块与配置文件不同的参数
  send     LINK COMMAND...                     发送AT命令，输出各自的应答
  discover [--address ADDR] [--timeout MS]     搜索本地网络上的模块
  provision PROFILE --watch GLOB [--log FILE.csv] [--count N]
                                               写入每个插上的模块，逐个记录

LINK: --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]
      | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]
      [--timeout MS] [-v]
read、apply、diff 可给多个 LINK，--discovered 加上每个应答搜索的模块；
这些模块同时处理（--jobs N，默认16）。

qxctl 子命令 --help 查看详细说明。退出码：0 完成，1 有参数失败或不同，
2 用法、配置文件或连接错误。
</translation>
    </message>
</context>
</TS>
