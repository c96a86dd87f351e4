#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/: real replies of the module,
module reply frames, commands and frames as the tool builds them, and Config.ini files as the tool
writes them. Each seed starts with the choice bytes its target reads (see the target's comment)."""
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"
GBK = "gbk"


def reply_frame(function, payload, module=b"12345678901", zone=b"0001"):
    header = b"\xa8\x81" + module + zone + bytes([function, 0x01])
    return header + bytes([sum(header) % 256]) + payload


def module_frame(payload, target=b"12345678901", zone=b"0001", valid=True):
    header = b"\xa8\x81" + target + zone + b"\x08" + (b"\x01" if valid else b"\x00")
    return header + bytes([sum(header) % 256]) + payload


def relay_frame(payload, local=b"00000000000", target=b"12345678901"):
    header = b"\xa8\x83" + local + b"\x00\x00\x00\x01" + target
    return header + bytes([sum(header) % 256]) + payload


def chunk(data):
    return bytes([len(data)]) + data


PARAM_LIST = (b"1=3;2=QX-Office;3=pass;word;4=QX_AP;5=12345678;6=192.168.4.1;7=255.255.255.0;8=192.168.4.1;"
              b"9=6;10=1;11=0;12=1;13=x;14=\"qx.example.com\";15=8888;16=8899;17=115200;18=8;19=1.5;"
              b"20=12345678901;21=0001;22=1;23=30;24=3;25=192.168.1.20;26=255.255.255.0;27=192.168.1.1;")

# (type code, reply) pairs: what the module answers to each kind of command.
REPLIES = [
    (0, b"+++"), (0, b"+++\r\na\r\n+ok\r\nAT MODE\r\n"), (0, b"at mode"), (2, b"OK\r\n"), (2, b"ERROR\r\n"),
    (3, b"\r\nOK\r\n"), (4, b"ERROR"), (6, b"ok"), (12, b"IO16:1\r\nOK\r\n"), (13, b"IO14:0\r\n"),
    (12, b"IO16"), (21, b"OK"), (21, b"+ERROR:3\r\n"), (44, b"ok\r\nERROR"),
    (7, b"+LSSTAINF:2\r\n1,ac:cf:23:00:11:22,192.168.4.2\r\n2,5c:cf:7f:01:02:03,192.168.4.3\r\n"),
    (8, b"+LSAPINF:(3,\"QX-Office\",-48,\"c8:3a:35:10:20:30\",6)\r\n"), (9, b"connected\r\n"),
    (9, b"unconnected"), (9, b"ERROR"), (10, b"STATUS:GOT_IP\r\nIDLE\r\n"), (10, b"CONNECTING"),
    (11, b"\"192.168.1.20\"\r\n"), (98, b"QX5120 V2.14 2019-03-01\r\n"), (113, b"115200\r\n"),
    (113, b"ERROR\r\n"), (114, b"\"8\",\"2\",\"1\"\r\n"), (114, b"8,0"), (115, b"20\r\n"), (116, b"1024\r\n"),
    (117, b"1\r\n"), (118, b"2\r\n"), (118, b"+ERROR"), (118, b"ERROR 2"), (118, b"3\x009"),
    (119, b"\"QX-Office\",\"password\"\r\n"), (119, "\"办公室\",\"密码\"\r\n".encode(GBK)),
    (120, b"\"QX_AP\",\"12345678\",6,3\r\n"), (120, b"\"QX_AP\",\"12345678\"\r\n"), (121, b"3\r\n"),
    (122, b"\"192.168.1.20\",\"255.255.255.0\",\"192.168.1.1\"\r\n"), (123, b"192.168.4.1,255.255.255.0"),
    (124, b"\"ac:cf:23:00:11:22\"\r\n"), (125, b"5e:cf:23:00:11:22"), (126, b"8899\r\n"), (127, b"OK"),
    (128, b"\"qx.example.com\"\r\n"), (131, b"300\r\n"), (133, b"1"), (136, b"0\r\n"), (137, b"-1"),
    (138, b"12345678901\r\n"), (139, b"0001"), (141, b"1\r\n"), (142, b"http://qx.example.com/api\r\n"),
    (143, "设备一\r\n".encode(GBK)), (144, b"secret\r\n"), (140, b"OK"), (200, b"OK\r\n"),
    (12, reply_frame(0x05, b"OFB21OFB21")), (12, reply_frame(0x05, b"IUB80IUB80")),
    (12, reply_frame(0x05, b"OFB21OFB20")), (12, reply_frame(0x05, b"OFW21OFW21")),
    (12, reply_frame(0x05, b"OFB2")), (113, reply_frame(0x09, PARAM_LIST)), (1, reply_frame(0x09, PARAM_LIST)),
    (1, reply_frame(0x09, b"1=2;17=9600;18=7;19=2;")), (1, reply_frame(0x09, b"2=open;3=")),
    (1, reply_frame(0x07, b"whatever")), (1, b"\xa8\x81\x31"), (1, relay_frame(b"OK")),
]


def write(target, name, data):
    folder = ROOT / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def main():
    for i, (code, reply) in enumerate(REPLIES):
        code_byte = code if code <= 144 else 146
        for options, road in ((0x00, "cn"), (0x14, "en-serial"), (0x09, "r-hex")):
            if road != "cn" and i % 3 != 0:
                continue
            write("parser", f"{i:02d}-{code}-{road}", bytes([code_byte, options]) + reply)

    decoder_values = [
        (0, PARAM_LIST), (0, b"1=2;17=9600;18=7;19=2;"), (0, b"1=x;2=a;"), (0, b"2=a;3=b"), (0, b"=1;"), (0, b";;1=1;"),
        (1, b"OFB21OFB21"), (1, b"IUB80IUB80"), (1, b"OFB21OFB20"), (1, b"OFW21OFW21"), (1, b"NFBx1NFBx1"),
        (2, b"\"8\",\"2\",\"1\""), (2, b"7,1"), (3, b"\"QX-Office\",\"password\""), (4, b"\"QX_AP\",\"12345678\",6,3"),
        (4, b"a,b,,"), (5, b"\"192.168.1.20\",\"255.255.255.0\",\"192.168.1.1\""), (6, b"192.168.4.1"),
        (7, b"115200"), (7, b" 9600\r\n"),
    ]
    for i, (decoder, value) in enumerate(decoder_values):
        write("remote_decoders", f"{i:02d}-{decoder}", bytes([decoder, i & 1]) + value)

    for name, text in [("prefix-blanks", b"A8 81 01"), ("prefix", b"A88101"), ("odd", b"ABC"), ("blanks", b"1 2 3"),
                       ("ffff", b"FFFF"), ("f", b"F"), ("non-hex", b"G1"), ("lower", b"a8"),
                       ("hex-line", b"41 54 2B 57 49 46 49 4D 4F 44 45 3D 3F 0D 0A "),
                       ("frame", module_frame(b"AT+WIFIMODE=?\r\n")), ("gbk", "中文".encode(GBK))]:
        write("conversions", name, text)

    commands = [b"AT+WIFIMODE=?\r\n", b"AT+REMOTEIP=\"qx.example.com\"\r\n", b"AT+IOCTR=OUW21OUW21\r\n", b"", b"+++"]
    for i, payload in enumerate(commands):
        for valid in (0, 1):
            seed = (chunk(b"12345678901") + b"\x00" + chunk(b"0001") + b"\x00" + chunk(b"00000000000") + b"\x00" +
                    bytes([valid]) + payload)
            write("frames", f"{i}-{valid}", seed)
    write("frames", "gbk-id", chunk("一二三".encode(GBK)) + b"\x01" + chunk(b"") + b"\x00" + chunk(b"1") + b"\x00\x01")

    config = ("[info]\r\nCOM=3\r\nBaudRate=9\r\nCO=启信网络\r\n\r\n[Ver]\r\nCEO=CN\r\nOri=1\r\n\r\n"
              "[Network]\r\nServerIP=127.0.0.1\r\nServerIP2=127.0.0.1\r\nTCPPort=8888\r\nProtocol=UDP\r\n"
              "TargetGPRSID=12345678901\r\nTargetZone=0001\r\nTargetZonValid=1\r\nCOMType=0\r\n; kept\r\n\r\n"
              "[Local]\r\nLocalID=00000000000\r\nLocalZone=0000\r\n\r\n[Program]\r\nShowHEX=0x1\r\nAddChr=$0\r\n"
              "FontName=宋体\r\n\r\n[Ports]\r\nCOM3=/dev/ttyUSB0\r\n").encode(GBK)
    # Each seed: number of writes; per write the name (index into the target's list), the kind (0 text,
    # 1 integer, 2 boolean) and the value as a chunk; then the save-through-a-file flag; then the file.
    def ini_write(name, kind, value):
        return bytes([name, kind]) + chunk(value)

    write("ini", "config-crlf", bytes([3]) + ini_write(0, 0, b"7") + ini_write(22, 0, b"1.2") +
          ini_write(25, 2, b"\x01") + b"\x00" + config)
    write("ini", "config-lf-save", bytes([2]) + ini_write(23, 0, "中文名称".encode(GBK)) + ini_write(30, 0, b"EN") +
          b"\x01" + config.replace(b"\r\n", b"\n"))
    write("ini", "no-final-break", bytes([1]) + ini_write(1, 1, b"\x00\x01\xc2\x00") + b"\x00" + b"[info]\r\nCOM=1")
    write("ini", "odd-lines", bytes([2]) + ini_write(26, 0, b"a b\tc") + ini_write(0, 1, b"\xff\xff\xff\xff") +
          b"\x00" + b"\xef\xbb\xbf[INFO]\nCOM = 5 \n[Network\nserverip\n=x\n[info]\nCOM=9\n\x00=1\n")
    # Files other programs and editors write: quoted values, UTF-16LE and UTF-8 with their marks, CR lines.
    quoted = (b"[Ver]\r\nCEO=\"CN\"\r\n[info]\r\nCOM=\"3\"\r\nCO='a\"b'\r\n[Network]\r\nServerIP=\"10.0.0.1\"\r\n"
              b"UDPPort='9000'\r\nProtocol=\"\r\n")
    write("ini", "quoted", bytes([3]) + ini_write(0, 0, b"\"7\"") + ini_write(8, 1, b"\x00\x00\x23\x28") +
          ini_write(22, 0, b"'") + b"\x01" + quoted)
    unicode_config = config.decode(GBK)
    write("ini", "utf16le", bytes([2]) + ini_write(18, 0, "宋体".encode("utf-16-le")) + ini_write(31, 0, b"\x3d\xd8") +
          b"\x01" + b"\xff\xfe" + unicode_config.encode("utf-16-le"))
    write("ini", "utf8-mark", bytes([2]) + ini_write(18, 0, "微软雅黑".encode()) + ini_write(0, 1, b"\x05") +
          b"\x00" + b"\xef\xbb\xbf" + unicode_config.encode())
    write("ini", "cr-lines", bytes([2]) + ini_write(0, 1, b"\x04") + ini_write(28, 0, b"/dev/ttyS0") + b"\x01" +
          config.replace(b"\r\n", b"\r"))

    for i, text in enumerate([b"OK\r\n", b"  2\r\n", b"\"8\",\"2\",\"1\"", b"-2147483648", b"2147483648", b"+7",
                              b"1 2", b"\x00\x001\x00", b"connected", b"unconnected\r\n", "１２".encode(GBK),
                              b"IO16:1", b"\xa8\x81\x31\x32\x0d\x0a\x00\x7f\xff"]):
        write("reply_text", f"{i:02d}", bytes([i & 1, ord('"')]) + text)

    # Profiles as qxctl read and Save profile write them, then as people edit them. The first byte also
    # picks the row the whole input is checked against as one value.
    saved = ("# QX5120 12345678901\nWIFIMODE=2\nDHCP=1\nAPINF=\"QX5120_AP\",\"12345678\",6,1,4\n"
             "APIP=\"192.168.4.1\",\"255.255.255.0\",\"192.168.4.1\"\nSTACONFIG=\"办公室\",\"pw,1\"\n"
             "STAMAC=\"5C:CF:7F:01:02:03\"\nNAME=\"admin\"\nhttpserver=http://www.example.com/qx5120\n"
             "REMOTEIP=\"127.0.0.1\"\nREMOTEPORT=9500\nDEVID=12345678901\nZONE=0001\nBAUD=115200\nUART=8,0,1\n")
    for name, text in [
        ("saved", saved.encode()),
        ("edited", ("\ufeff# mine\r\nWIFIMODE = 2  \r\n\tREMOTEPORT\t=\t9623\t\r\n"
                    "STACONFIG = \"my net \",\"pw\" \r\n").encode()),
        ("not-gbk", "STACONFIG=\"Café 网络\",\"pässwörd\"\nNAME=\"a😀\"\n\u3000PWD = \"ö\"\n".encode()),
        ("refused", b"WIFIMODE=02\nBAUD=12345\nSTAMAC=\"aa:bb:cc:dd:ee:ff\"\nDEVID=123\nNAME=\"open  \n"),
        ("broken", b"BAUD=115200\nbaud=9600\nSPEED=1\nDHCP\n = 1\nNAME=\"a\x00b\"\nNAME=\"\xd6\xd0\"\n# \xe6\x88\n"),
        ("value-only", b"\x05\"lab\",\"secret\""),
    ]:
        write("profiles", name, text)


if __name__ == "__main__":
    main()
