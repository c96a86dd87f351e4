<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
    <name>SerialLink</name>
    <message>
        <source>the serial port %1 is not open</source>
        <translation>串口%1未打开</translation>
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
    <name>UdpEndpoint</name>
    <message>
        <source>cannot send to %1:%2: %3</source>
        <translation>无法发送到%1:%2：%3</translation>
    </message>
</context>
</TS>
