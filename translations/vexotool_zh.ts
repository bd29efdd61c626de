<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AboutClass</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
</context>
<context>
    <name>AboutDialog</name>
    <message>
        <source>VEXO</source>
        <translation>VEXO 工具</translation>
    </message>
    <message>
        <source>User Help</source>
        <translation>用户手册</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>No user manual found.</source>
        <translation>未找到用户手册。</translation>
    </message>
    <message>
        <source>Looked for &quot;%1&quot; in:
%2</source>
        <extracomment>%1 is the manual&apos;s file name, %2 the folders searched, one a line.</extracomment>
        <translation>已在以下文件夹中查找“%1”：
%2</translation>
    </message>
    <message>
        <source>No program to show PDF files could open the user manual &quot;%1&quot;. It is in this folder:
%2</source>
        <extracomment>%1 is the manual&apos;s file name, %2 its folder.</extracomment>
        <translation>没有可以打开 PDF 文件的程序，无法打开用户手册“%1”。该文件位于此文件夹：
%2</translation>
    </message>
    <message>
        <source>Test build: accepts test device certificates</source>
        <extracomment>Shown under the version in a build that trusts the published test certificate authority</extracomment>
        <translation>测试版本：接受测试设备证书</translation>
    </message>
    <message>
        <source>v%1build</source>
        <extracomment>%1 is the program&apos;s version; the build number follows</extracomment>
        <translation>v%1 build </translation>
    </message>
</context>
<context>
    <name>BaseDialog</name>
    <message>
        <source>BaseDialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>null content</source>
        <translation>无内容</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>File Folder</source>
        <comment>Match Windows Explorer</comment>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>驱动器</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
</context>
<context>
    <name>TipDialog</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>sure</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>VexoTool::BatchRecovery</name>
    <message>
        <source>Loading...</source>
        <translation>正在处理…</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>文件夹：%1</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>No program on this computer opens folders. The files are in %1.</source>
        <translation>本机没有可以打开文件夹的程序。文件位于 %1。</translation>
    </message>
    <message>
        <source>(listed in %1)</source>
        <translation>（见 %1）</translation>
    </message>
    <message>
        <source>Key files written: %1</source>
        <translation>已写入密钥文件：%1</translation>
    </message>
    <message>
        <source>Devices that gave no key: %1</source>
        <translation>未取得密钥的设备：%1</translation>
    </message>
    <message>
        <source>Export Keys</source>
        <translation>批量导出密钥</translation>
    </message>
    <message>
        <source>Passwords reset: %1</source>
        <translation>已重置密码：%1</translation>
    </message>
    <message>
        <source>Resets the devices refused: %1</source>
        <translation>设备拒绝的重置：%1</translation>
    </message>
    <message>
        <source>Devices without a reset file: %1</source>
        <translation>没有重置文件的设备：%1</translation>
    </message>
    <message>
        <source>Batch Reset</source>
        <translation>批量重置密码</translation>
    </message>
    <message>
        <source>No reset file for this device.</source>
        <translation>此设备没有重置文件。</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceActivePage</name>
    <message>
        <source>Device not activated</source>
        <translation>设备未激活</translation>
    </message>
    <message>
        <source>The network parameters can be modified after the device is activated</source>
        <translation>设备激活后才能修改网络参数。</translation>
    </message>
    <message>
        <source>Active now</source>
        <translation>立即激活</translation>
    </message>
    <message>
        <source>Device active</source>
        <translation>设备激活</translation>
    </message>
    <message>
        <source>Batch devices active</source>
        <translation>批量激活设备</translation>
    </message>
    <message>
        <source>Batch devices network parameters</source>
        <translation>批量设备网络参数</translation>
    </message>
    <message>
        <source>Sorry,the devices you have chosen has not activated devices</source>
        <translation>所选设备中有未激活的设备。</translation>
    </message>
    <message>
        <source>Note: please activate</source>
        <translation>提示：请先激活</translation>
    </message>
    <message>
        <source>the device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>to perform other operations</source>
        <translation>再进行其他操作。</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceDisplayPage</name>
    <message>
        <source>Succeed</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Total number of online devices:</source>
        <translation>在线设备总数：</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>文本标签</translation>
    </message>
    <message>
        <source>Config Reset</source>
        <translation>批量重置密码</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Config Export</source>
        <translation>批量导出密钥</translation>
    </message>
    <message>
        <source>No device answers: check the cable and the firewall.</source>
        <translation>无设备应答：请检查网线和防火墙。</translation>
    </message>
    <message>
        <source>Filter: serial number, MAC, model, IP address or range, version</source>
        <extracomment>Placeholder of the device list&apos;s filter box.</extracomment>
        <translation>筛选：序列号、MAC、型号、IP 地址或地址段、版本</translation>
    </message>
    <message>
        <source>Shows only the devices that match (Ctrl+F). An address range is typed as 192.168.1.0/24 or 192.168.1.10-192.168.1.50. Esc clears the filter.</source>
        <translation>只显示匹配的设备（Ctrl+F）。地址段可输入为 192.168.1.0/24 或 192.168.1.10-192.168.1.50。按 Esc 清除筛选。</translation>
    </message>
    <message numerus="yes">
        <source>%n checked rows are hidden by the filter</source>
        <extracomment>Beside the filter box: checked devices that the filter does not show are left out of the flows.</extracomment>
        <translation>
            <numerusform>%n 个已勾选的行被筛选隐藏</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>The count line while the filter is on: devices shown of all devices listed.</extracomment>
        <translation>%1（共 %2）</translation>
    </message>
    <message numerus="yes">
        <source>%n address conflicts</source>
        <extracomment>In the count line: how many IPv4 addresses are used by more than one device.</extracomment>
        <translation>
            <numerusform>%n 处地址冲突</numerusform>
        </translation>
    </message>
    <message>
        <source>Web Page</source>
        <translation>设备网页</translation>
    </message>
    <message>
        <source>No web browser could open the device&apos;s web page. Copy its address into a browser:
%1</source>
        <extracomment>%1 is a device&apos;s web address, such as http://192.168.1.64:80</extracomment>
        <translation>没有网页浏览器能打开设备的网页。请把地址复制到浏览器中：
%1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>复制地址</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceFilter</name>
    <message>
        <source>A network is an address, &quot;/&quot; and a prefix length from 0 to 32, as in 192.168.1.0/24.</source>
        <extracomment>Below the filter box, for a text such as 192.168.1.0/33.</extracomment>
        <translation>网段写作地址、“/”和 0 到 32 的前缀长度，例如 192.168.1.0/24。</translation>
    </message>
    <message>
        <source>A range starts at its lower address, as in 192.168.1.10-192.168.1.50.</source>
        <extracomment>Below the filter box, for a text such as 192.168.1.50-192.168.1.10.</extracomment>
        <translation>地址范围应从较小的地址开始，例如 192.168.1.10-192.168.1.50。</translation>
    </message>
    <message>
        <source>A range is two whole addresses, first-last, as in 192.168.1.10-192.168.1.50.</source>
        <extracomment>Below the filter box, for a text such as 198.51.100.4-11.</extracomment>
        <translation>地址范围是两个完整的地址，写作“起始-结束”，例如 192.168.1.10-192.168.1.50。</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceInfoModel</name>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>设备型号</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>激活状态</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 地址</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Soft Vision</source>
        <translation>软件版本</translation>
    </message>
    <message>
        <source>IPv4 GateWay</source>
        <translation>IPv4 网关</translation>
    </message>
    <message>
        <source>HttpPort</source>
        <translation>HTTP端口</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>IPv4 Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC 地址</translation>
    </message>
    <message>
        <source>Channel NO</source>
        <translation>通道数</translation>
    </message>
    <message>
        <source>DSP Vision</source>
        <translation>DSP 版本</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>启动时间</translation>
    </message>
    <message>
        <source>IPv6 Address</source>
        <translation>IPv6 地址</translation>
    </message>
    <message>
        <source>IPv6 GateWay</source>
        <translation>IPv6 网关</translation>
    </message>
    <message>
        <source>IPv6 Prefix Length</source>
        <translation>IPv6 前缀长度</translation>
    </message>
    <message>
        <source>Is Support IPv6</source>
        <translation>支持 IPv6</translation>
    </message>
    <message>
        <source>Is Support Mod IPv6</source>
        <translation>支持修改 IPv6</translation>
    </message>
    <message>
        <source>Is Support DHCP</source>
        <translation>支持 DHCP</translation>
    </message>
    <message>
        <source>IPv4 DHCP</source>
        <translation>IPv4 DHCP</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>已激活</translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation>未激活</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</source>
        <translation>此设备没有有效的厂商证书：它可能是冒充的设备，程序不会向它发送任何密码。</translation>
    </message>
    <message>
        <source>Needs log-in</source>
        <extracomment>the status of a device found by ONVIF whose details need its user name and password</extracomment>
        <translation>需登录</translation>
    </message>
    <message>
        <source>%1 (ONVIF)</source>
        <extracomment>the Device Type cell of a device found by ONVIF; %1 is its model or &quot;—&quot;</extracomment>
        <translation>%1（ONVIF）</translation>
    </message>
    <message>
        <source>%1 +ONVIF</source>
        <extracomment>the Device Type cell of a device that answers both the program&apos;s own protocol (VXDP) and ONVIF</extracomment>
        <translation>%1 +ONVIF</translation>
    </message>
    <message>
        <source>Found by ONVIF: its network settings are changed with a user name and password; activation and password recovery are not available.</source>
        <translation>通过 ONVIF 发现：修改其网络参数需要用户名和密码；不支持激活和找回密码。</translation>
    </message>
    <message>
        <source>Answers both the device protocol (VXDP) and ONVIF; this program uses the device protocol.</source>
        <translation>此设备同时支持设备协议（VXDP）和 ONVIF；本程序使用设备协议。</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>另有 %n 台</numerusform>
        </translation>
    </message>
    <message>
        <source>Address conflict: %1 is also used by
%2</source>
        <extracomment>Tool tip of a device whose IPv4 address another listed device also uses; %1 is the address, %2 the other devices, one &quot;serial number (MAC)&quot; a line.</extracomment>
        <translation>地址冲突：%1 同时被以下设备使用
%2</translation>
    </message>
    <message>
        <source>Found by ONVIF. Sign in with &quot;ONVIF Sign-In...&quot; in the title bar&apos;s menu, or enter its user name and password in the panel, to read its serial number, MAC address and network settings.</source>
        <translation>通过 ONVIF 发现。在标题栏菜单中选择“ONVIF 登录…”登录，或在右侧面板中输入其用户名和密码，即可读取其序列号、MAC 地址和网络参数。</translation>
    </message>
    <message>
        <source>Identity conflict: the devices at %1 and %2 claim to be the same device. No password is sent to it until the list is refreshed.</source>
        <extracomment>Tool tip of an ONVIF device whose identity a device at another address also claims; %1 is the listed device&apos;s address, %2 the other one.</extracomment>
        <translation>身份冲突：%1 和 %2 上的设备都声称是同一台设备。刷新列表之前，不会向其发送密码。</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyPage</name>
    <message>
        <source>Succeed</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>激活</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>新密码：</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Forget Password</source>
        <translation>忘记密码</translation>
    </message>
    <message>
        <source>Admin Password:</source>
        <translation>管理员密码：</translation>
    </message>
    <message>
        <source>Sorry, please select the equipment.</source>
        <translation>抱歉，请先选择设备。</translation>
    </message>
    <message>
        <source>Sorry, please enter the administrator password.</source>
        <translation>抱歉，请输入管理员密码。</translation>
    </message>
    <message>
        <source>Modify network parameters succeed.</source>
        <translation>网络参数修改成功。</translation>
    </message>
    <message>
        <source>Device deny.</source>
        <translation>设备拒绝。</translation>
    </message>
    <message>
        <source>Time out.</source>
        <translation>超时。</translation>
    </message>
    <message>
        <source>Error%1:others</source>
        <translation>错误%1：其他</translation>
    </message>
    <message>
        <source>Only %1 of the %2 selected devices fit between the start address %3 and the end of its subnet. Choose a lower start address or fewer devices.</source>
        <translation>从起始地址 %3 到其子网末尾只能容纳所选 %2 台设备中的 %1 台。请选择更小的起始地址或减少设备数量。</translation>
    </message>
    <message>
        <source>The address %1 is already used by another device in the list.</source>
        <translation>地址 %1 已被列表中的其他设备使用。</translation>
    </message>
    <message>
        <source>Modifying device %1 of %2 ...</source>
        <translation>正在修改第 %1 台设备（共 %2 台）…</translation>
    </message>
    <message>
        <source>Error%1:device deny</source>
        <translation>错误%1：设备拒绝</translation>
    </message>
    <message>
        <source>Error%1:time out</source>
        <translation>错误%1：超时</translation>
    </message>
    <message>
        <source>Please select a device.</source>
        <translation>请选择设备。</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>两次输入的密码不一致。</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>密码长度为 8 到 16 位，可由数字、小写字母、大写字母和特殊字符组成，且至少包含其中两种。</translation>
    </message>
    <message>
        <source>Activate Succeed.</source>
        <translation>激活成功。</translation>
    </message>
    <message>
        <source>Activating device %1 of %2 ...</source>
        <translation>正在激活第 %1 台设备（共 %2 台）…</translation>
    </message>
    <message>
        <source>Error%1:Device deny.</source>
        <translation>错误%1：设备拒绝。</translation>
    </message>
    <message>
        <source>Error%1:reactive</source>
        <translation>错误%1：重复激活</translation>
    </message>
    <message>
        <source>VEXO Tool</source>
        <translation>VEXO 工具</translation>
    </message>
    <message>
        <source>Modifying the device&apos;s network parameters ...</source>
        <translation>正在修改设备的网络参数…</translation>
    </message>
    <message>
        <source>The device answered late; its announcement confirms the change.</source>
        <translation>设备应答较晚，但其广播已确认修改生效。</translation>
    </message>
    <message>
        <source>Activating the device ...</source>
        <translation>正在激活设备…</translation>
    </message>
    <message>
        <source>A user name has at most %1 characters.</source>
        <extracomment>Shown under the user-name field when a further character is refused</extracomment>
        <translation>用户名最多 %1 个字符。</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Try the change anyway</source>
        <translation>仍然尝试修改</translation>
    </message>
    <message>
        <source>Please enter the user name for the ONVIF devices.</source>
        <translation>请输入 ONVIF 设备的用户名。</translation>
    </message>
    <message>
        <source>Not changed: this program cannot change ONVIF devices yet.</source>
        <translation>未修改：本程序暂不能修改 ONVIF 设备。</translation>
    </message>
    <message>
        <source>The device keeps working with its old settings until it restarts (for example after a power cut); then it uses the new ones.</source>
        <translation>设备在重启前（例如断电后）继续使用旧参数；重启后使用新参数。</translation>
    </message>
    <message>
        <source>Restart needed</source>
        <translation>需要重启</translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) must restart to use the new settings: %1.
Restart now, or later? Later: each keeps its old settings until it restarts, for example after a power cut.</source>
        <translation>
            <numerusform>%n 台设备需要重启才能使用新参数：%1。
立即重启还是稍后？稍后：设备在重启前（例如断电后）继续使用旧参数。</numerusform>
        </translation>
    </message>
    <message>
        <source>Restart now</source>
        <extracomment>button of the question whether devices restart now</extracomment>
        <translation>立即重启</translation>
    </message>
    <message>
        <source>Later</source>
        <extracomment>button of the question whether devices restart now: they restart some other time</extracomment>
        <translation>稍后</translation>
    </message>
    <message>
        <source>Restarting device %1 of %2 ...</source>
        <translation>正在重启第 %1 台设备，共 %2 台……</translation>
    </message>
    <message>
        <source>The device is restarting and uses the new settings once it is back.</source>
        <translation>设备正在重启，恢复后将使用新参数。</translation>
    </message>
    <message>
        <source>The device did not restart: %1</source>
        <translation>设备未重启：%1</translation>
    </message>
    <message>
        <source>Not changed: no network adapter of this computer is in the device&apos;s subnet.</source>
        <translation>未修改：本机没有位于该设备子网中的网卡。</translation>
    </message>
    <message>
        <source>Change Password...</source>
        <extracomment>link under the Modify button that opens the dialog changing an ONVIF device user&apos;s password</extracomment>
        <translation>修改密码...</translation>
    </message>
    <message>
        <source>Changes a user&apos;s password on the device; it needs the current password. A lost password is reset on the device or with its maker&apos;s tool.</source>
        <translation>修改设备上某个用户的密码，需要输入当前密码。忘记的密码请在设备上或用设备厂商的工具重置。</translation>
    </message>
    <message>
        <source>Forget Certificate...</source>
        <extracomment>link that forgets the TLS certificate the program pinned for an ONVIF device</extracomment>
        <translation>忘记证书...</translation>
    </message>
    <message>
        <source>The device&apos;s certificate, pinned when it was first seen (SHA-256):
%1
Forget it only when the device was reset or got a new certificate.</source>
        <translation>首次发现设备时固定的设备证书（SHA-256）：
%1
仅在设备已复位或更换了证书时才忘记它。</translation>
    </message>
    <message>
        <source>Forget Certificate</source>
        <translation>忘记证书</translation>
    </message>
    <message>
        <source>Forget the certificate of %1? The next certificate it presents is trusted in its place, also one of another computer posing as the device.</source>
        <translation>忘记 %1 的证书吗？之后它出示的下一个证书将被信任，即使那是冒充该设备的另一台计算机的证书。</translation>
    </message>
    <message>
        <source>each device&apos;s own</source>
        <extracomment>Placeholder of the batch Port field: an empty field leaves each device&apos;s port as it is</extracomment>
        <translation>保持各设备原值</translation>
    </message>
    <message>
        <source>Forget</source>
        <extracomment>button: forget the device&apos;s pinned certificate</extracomment>
        <translation>忘记</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyResultPage</name>
    <message>
        <source>ID</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>设备型号</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 地址</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Modification</source>
        <translation>修改结果</translation>
    </message>
    <message>
        <source>Error%1: %2</source>
        <extracomment>A line below the result list: an error code and what it means.</extracomment>
        <translation>错误%1：%2</translation>
    </message>
    <message>
        <source>Network Change Results</source>
        <translation>网络参数修改结果</translation>
    </message>
    <message>
        <source>Activation Results</source>
        <translation>激活结果</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>激活结果</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <extracomment>In the result list, for a device the batch operation succeeded on.</extracomment>
        <translation>成功</translation>
    </message>
    <message>
        <source>Activated: %1 of %2</source>
        <translation>已激活：%1 / %2</translation>
    </message>
    <message>
        <source>Changed: %1 of %2</source>
        <translation>已修改：%1 / %2</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>失败：%1</translation>
    </message>
    <message>
        <source>ONVIF Sign-In Results</source>
        <extracomment>title of the list saying how identifying each ONVIF device went after &quot;ONVIF Sign-In&quot;</extracomment>
        <translation>ONVIF 登录结果</translation>
    </message>
    <message>
        <source>Sign-In</source>
        <extracomment>header of the column saying whether the device was identified, or why not</extracomment>
        <translation>登录</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceNetParaPage</name>
    <message>
        <source>Inport DevciePara</source>
        <translation>导入设备参数</translation>
    </message>
    <message>
        <source>Enable DHCP</source>
        <translation>启用 DHCP</translation>
    </message>
    <message>
        <source>StartIp:</source>
        <translation>起始 IP：</translation>
    </message>
    <message>
        <source>Please set the start Ip address,then add one</source>
        <translation>请设置起始 IP 地址，之后每台设备依次加一。</translation>
    </message>
    <message>
        <source>Device Serial:</source>
        <translation>设备序列号：</translation>
    </message>
    <message>
        <source>Short Serial:</source>
        <translation>短序列号：</translation>
    </message>
    <message>
        <source>Start Time:</source>
        <translation>启动时间：</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP 地址：</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>端口：</translation>
    </message>
    <message>
        <source>Subnet Mask:</source>
        <translation>子网掩码：</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>网关：</translation>
    </message>
    <message>
        <source>IPv6 Address:</source>
        <translation>IPv6 地址：</translation>
    </message>
    <message>
        <source>IPv6 Gateway:</source>
        <translation>IPv6 网关：</translation>
    </message>
    <message>
        <source>IPv6 Prefix Length:</source>
        <translation>IPv6 前缀长度：</translation>
    </message>
    <message>
        <source>Http Port:</source>
        <translation>HTTP 端口：</translation>
    </message>
    <message>
        <source>Security Verification</source>
        <translation>安全验证</translation>
    </message>
    <message>
        <source>Modify Network parameters</source>
        <translation>修改网络参数</translation>
    </message>
    <message>
        <source>Batch Modify Network parameters</source>
        <translation>批量修改网络参数</translation>
    </message>
    <message>
        <source>Please input IP Address.</source>
        <translation>请输入 IP 地址。</translation>
    </message>
    <message>
        <source>IP Address not correct.</source>
        <translation>IP 地址不正确。</translation>
    </message>
    <message>
        <source>Device port ranges from 2000 to 65535.</source>
        <translation>设备端口范围为 2000 到 65535。</translation>
    </message>
    <message>
        <source>Subnet mask can not be empty.</source>
        <translation>子网掩码不能为空。</translation>
    </message>
    <message>
        <source>Subnet Mask not correct.</source>
        <translation>子网掩码不正确。</translation>
    </message>
    <message>
        <source>Gateway can not be empty</source>
        <translation>网关不能为空。</translation>
    </message>
    <message>
        <source>Gateway not correct.</source>
        <translation>网关不正确。</translation>
    </message>
    <message>
        <source>Http port ranges from 1 to 65535.</source>
        <translation>HTTP 端口范围为 1 到 65535。</translation>
    </message>
    <message>
        <source>IPv6 Address not correct.</source>
        <translation>IPv6 地址不正确。</translation>
    </message>
    <message>
        <source>IPv6 gateway not correct.</source>
        <translation>IPv6 网关不正确。</translation>
    </message>
    <message>
        <source>IPv6 prefix length ranges from 0 to 127.</source>
        <translation>IPv6 前缀长度范围为 0 到 127。</translation>
    </message>
    <message>
        <source>Use an address from %1 to %2.</source>
        <translation>请使用 %1 到 %2 之间的地址。</translation>
    </message>
    <message>
        <source>Write the gateway without leading zeros, for example 198.51.100.1 rather than 198.51.100.01.</source>
        <translation>网关各段不能以 0 开头，例如应写 198.51.100.1 而不是 198.51.100.01。</translation>
    </message>
    <message>
        <source>Write the IP address without leading zeros, for example 198.51.100.9 rather than 198.51.100.09.</source>
        <translation>IP 地址各段不能以 0 开头，例如应写 198.51.100.9 而不是 198.51.100.09。</translation>
    </message>
    <message>
        <source>Addresses that begin with 0 cannot be given to a device.</source>
        <translation>以 0 开头的地址不能分配给设备。</translation>
    </message>
    <message>
        <source>Addresses that begin with 127 are loopback addresses and cannot be given to a device.</source>
        <translation>以 127 开头的地址是环回地址，不能分配给设备。</translation>
    </message>
    <message>
        <source>Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot be given to a device.</source>
        <translation>224.0.0.0 到 239.255.255.255 是组播地址，不能分配给设备。</translation>
    </message>
    <message>
        <source>Addresses from 240.0.0.0 up are reserved and cannot be given to a device.</source>
        <translation>240.0.0.0 及以上的地址为保留地址，不能分配给设备。</translation>
    </message>
    <message>
        <source>The IP address is the network address of its subnet.</source>
        <translation>该 IP 地址是其子网的网络地址。</translation>
    </message>
    <message>
        <source>The IP address is the broadcast address of its subnet.</source>
        <translation>该 IP 地址是其子网的广播地址。</translation>
    </message>
    <message>
        <source>Subnet mask 0.0.0.0 leaves the device without a subnet.</source>
        <translation>子网掩码 0.0.0.0 会使设备没有子网。</translation>
    </message>
    <message>
        <source>The gateway must be an address of the device&apos;s subnet, from %1 to %2.</source>
        <translation>网关必须是设备所在子网中的地址（%1 到 %2）。</translation>
    </message>
    <message>
        <source>The gateway cannot be the device&apos;s own IP address.</source>
        <translation>网关不能是设备自己的 IP 地址。</translation>
    </message>
    <message>
        <source>The address %1 is already used by another device in the list.</source>
        <translation>地址 %1 已被列表中的其他设备使用。</translation>
    </message>
</context>
<context>
    <name>VexoTool::DevicesInfoSavePage</name>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>文件名：</translation>
    </message>
    <message>
        <source>File path:</source>
        <translation>文件路径：</translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation>请输入文件名。</translation>
    </message>
    <message>
        <source>Please input file path.</source>
        <translation>请输入文件路径。</translation>
    </message>
    <message>
        <source>The file name has been used, please change it</source>
        <translation>该文件名已被使用，请更换文件名。</translation>
    </message>
    <message>
        <source>Saving succeed.</source>
        <translation>保存成功。</translation>
    </message>
    <message>
        <source>Saving failed.</source>
        <translation>保存失败。</translation>
    </message>
</context>
<context>
    <name>VexoTool::ErrorExplanation</name>
    <message>
        <source>The reset file could not be read: it may have been moved, renamed or deleted. Choose the file again.</source>
        <translation>无法读取重置文件：文件可能已被移动、重命名或删除。请重新选择文件。</translation>
    </message>
    <message>
        <source>The device refused the password, key or code. Check it and try again: after five wrong tries the device refuses this computer for a while.</source>
        <translation>设备拒绝了密码、密钥或安全码。请检查后重试：连续输错五次后，设备将在一段时间内拒绝本计算机。</translation>
    </message>
    <message>
        <source>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</source>
        <translation>设备未及时应答，修改仍可能生效。请稍后在列表中查看其参数，再决定是否重试。</translation>
    </message>
    <message>
        <source>After too many wrong passwords the device refuses this computer for a while. Wait a few minutes and try again, or use Forget Password.</source>
        <translation>密码错误次数过多，设备将在一段时间内拒绝本计算机。请等待几分钟后重试，或使用“忘记密码”。</translation>
    </message>
    <message>
        <source>The device does not support this: some devices cannot change a setting (for example their IPv6 address) or export a reset key. Leave the setting as it is, or use another way.</source>
        <translation>设备不支持此操作：有些设备不能修改某项设置（例如其 IPv6 地址），或不能导出重置密钥。请保持该设置不变，或改用其他方式。</translation>
    </message>
    <message>
        <source>The device has no valid certificate from its maker and may be an impostor. Nothing secret was sent to it. Check the device before trying again.</source>
        <translation>设备没有有效的厂商证书，可能是仿冒设备。未向其发送任何机密信息。请先检查设备再重试。</translation>
    </message>
</context>
<context>
    <name>VexoTool::ExcelManager</name>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Device Serial Number</source>
        <translation>设备序列号</translation>
    </message>
</context>
<context>
    <name>VexoTool::HandoverDialog</name>
    <message>
        <source>Hand-over Report</source>
        <extracomment>title of the dialog that writes the hand-over report</extracomment>
        <translation>交接报告</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>保存…</translation>
    </message>
    <message>
        <source>Site:</source>
        <extracomment>label of the hand-over report&apos;s site name</extracomment>
        <translation>现场：</translation>
    </message>
    <message>
        <source>Changes from:</source>
        <extracomment>label of the start of the period whose changes the hand-over report lists</extracomment>
        <translation>变更起始：</translation>
    </message>
    <message>
        <source>until:</source>
        <extracomment>label of the end of the period whose changes the hand-over report lists</extracomment>
        <translation>截止：</translation>
    </message>
    <message>
        <source>Please enter the site&apos;s name.</source>
        <translation>请输入现场名称。</translation>
    </message>
    <message>
        <source>Save the hand-over report</source>
        <translation>保存交接报告</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>Saved: %1 and %2</source>
        <translation>已保存：%1 和 %2</translation>
    </message>
</context>
<context>
    <name>VexoTool::HandoverReport</name>
    <message>
        <source>The journal cannot be read: %1</source>
        <translation>无法读取日志：%1</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>协议</translation>
    </message>
    <message>
        <source>Addresses</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>验证</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>变更前</translation>
    </message>
    <message>
        <source>After</source>
        <translation>变更后</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Explanation</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>unknown</source>
        <extracomment>the hand-over report&apos;s operator when the operating system does not say who it is</extracomment>
        <translation>未知</translation>
    </message>
    <message>
        <source>the first entry</source>
        <extracomment>the period of the hand-over report&apos;s changes when it has no start</extracomment>
        <translation>第一条记录</translation>
    </message>
    <message>
        <source>now</source>
        <extracomment>the period of the hand-over report&apos;s changes when it has no end</extracomment>
        <translation>现在</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>%1 and %2 are the period&apos;s start and end</extracomment>
        <translation>%1 至 %2</translation>
    </message>
    <message>
        <source>Hand-over report: %1</source>
        <translation>交接报告：%1</translation>
    </message>
    <message>
        <source>%1 cannot be written.</source>
        <translation>无法写入 %1。</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>日期：%1</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>操作员：%1</translation>
    </message>
    <message>
        <source>Changes from %1</source>
        <translation>变更时段：%1</translation>
    </message>
    <message>
        <source>Devices (%1)</source>
        <extracomment>heading of the hand-over report&apos;s device list; %1 is how many</extracomment>
        <translation>设备（%1）</translation>
    </message>
    <message>
        <source>Changes (%1)</source>
        <translation>变更（%1）</translation>
    </message>
    <message>
        <source>Failures still open (%1)</source>
        <translation>尚未解决的失败（%1）</translation>
    </message>
    <message>
        <source>Hand-over</source>
        <extracomment>name of the hand-over report workbook&apos;s sheet</extracomment>
        <translation>交接</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Snapshots (%1)</source>
        <extracomment>heading of the hand-over report&apos;s camera pictures; %1 is how many</extracomment>
        <translation>快照（%1）</translation>
    </message>
</context>
<context>
    <name>VexoTool::InputLimitHint</name>
    <message>
        <source>A password has at most %1 characters.</source>
        <extracomment>Shown under a password field when a further character is refused</extracomment>
        <translation>密码最多 %1 个字符。</translation>
    </message>
</context>
<context>
    <name>VexoTool::Journal</name>
    <message>
        <source>Activation</source>
        <translation>激活</translation>
    </message>
    <message>
        <source>Network change</source>
        <translation>修改网络参数</translation>
    </message>
    <message>
        <source>Batch network change</source>
        <translation>批量修改网络参数</translation>
    </message>
    <message>
        <source>Password reset</source>
        <translation>重置密码</translation>
    </message>
    <message>
        <source>Password restore</source>
        <translation>恢复默认密码</translation>
    </message>
    <message>
        <source>Batch key export</source>
        <translation>批量导出密钥</translation>
    </message>
    <message>
        <source>Batch password reset</source>
        <translation>批量重置密码</translation>
    </message>
    <message>
        <source>Address plan</source>
        <translation>地址规划</translation>
    </message>
    <message>
        <source>ONVIF network change</source>
        <translation>修改 ONVIF 网络参数</translation>
    </message>
    <message>
        <source>ONVIF password change</source>
        <translation>修改 ONVIF 密码</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>重启</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalExport</name>
    <message>
        <source>The journal cannot be read: %1</source>
        <translation>无法读取日志：%1</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 entries are more than a workbook&apos;s sheet holds (%2). Choose a shorter period, or export them as CSV.</source>
        <translation>%1 条记录超过了工作表的容量（%2）。请选择更短的时段，或导出为 CSV。</translation>
    </message>
    <message>
        <source>Journal</source>
        <extracomment>name of the journal export&apos;s sheet</extracomment>
        <translation>日志</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalRecords</name>
    <message>
        <source>Error %1</source>
        <extracomment>the journal&apos;s explanation of a failed device call; %1 is the library&apos;s error code</extracomment>
        <translation>错误 %1</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalTexts</name>
    <message>
        <source>Time</source>
        <extracomment>column names of the journal window and its exports</extracomment>
        <translation>时间</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>协议</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>变更前</translation>
    </message>
    <message>
        <source>After</source>
        <translation>变更后</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Explanation</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>gateway %1</source>
        <extracomment>part of a device&apos;s settings in the journal; %1 is an address</extracomment>
        <translation>网关 %1</translation>
    </message>
    <message>
        <source>DHCP on</source>
        <translation>DHCP 开</translation>
    </message>
    <message>
        <source>DHCP off</source>
        <translation>DHCP 关</translation>
    </message>
    <message>
        <source>port %1</source>
        <extracomment>part of a device&apos;s settings in the journal; %1 is the device protocol&apos;s port</extracomment>
        <translation>端口 %1</translation>
    </message>
    <message>
        <source>password set</source>
        <extracomment>part of a device&apos;s settings in the journal: a password was set (which one is never kept)</extracomment>
        <translation>已设置密码</translation>
    </message>
    <message>
        <source>verified</source>
        <extracomment>a device whose maker certificate the program verified</extracomment>
        <translation>已验证</translation>
    </message>
    <message>
        <source>not verified</source>
        <translation>未验证</translation>
    </message>
    <message>
        <source>not checked</source>
        <extracomment>a device whose maker certificate the program has not checked yet</extracomment>
        <translation>未检查</translation>
    </message>
    <message>
        <source>no certificate (ONVIF)</source>
        <extracomment>an ONVIF device, which has no maker certificate to verify</extracomment>
        <translation>无证书（ONVIF）</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalWindow</name>
    <message>
        <source>Journal</source>
        <extracomment>title of the window that shows the site journal</extracomment>
        <translation>日志</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Text, or address ranges: 192.168.1.0/24, 10.0.0.5-10.0.0.9</source>
        <extracomment>placeholder of the journal window&apos;s filter box</extracomment>
        <translation>文本，或地址范围：192.168.1.0/24, 10.0.0.5-10.0.0.9</translation>
    </message>
    <message>
        <source>All operations</source>
        <extracomment>the journal window&apos;s choice of every operation</extracomment>
        <translation>全部操作</translation>
    </message>
    <message>
        <source>All results</source>
        <extracomment>the journal window&apos;s choice of every result</extracomment>
        <translation>全部结果</translation>
    </message>
    <message>
        <source>Any time</source>
        <translation>任意时间</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>今天</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>最近 7 天</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>最近 30 天</translation>
    </message>
    <message>
        <source>From ... until ...</source>
        <extracomment>the journal window&apos;s choice of a period between two dates the user sets</extracomment>
        <translation>从 ... 到 ...</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Export .xls...</source>
        <translation>导出 .xls…</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV…</translation>
    </message>
    <message>
        <source>Hand-over report...</source>
        <translation>交接报告…</translation>
    </message>
    <message>
        <source>The journal cannot be read now.</source>
        <translation>目前无法读取日志。</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <extracomment>how many journal entries pass the window&apos;s filter</extracomment>
        <translation>
            <numerusform>%n 条记录</numerusform>
        </translation>
    </message>
    <message>
        <source>Export the journal</source>
        <translation>导出日志</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Excel files (*.xls)</source>
        <translation>Excel 文件 (*.xls)</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已导出到 %1</translation>
    </message>
    <message>
        <source>Reading the journal...</source>
        <extracomment>while the journal window counts the entries that pass its filter</extracomment>
        <translation>正在读取日志...</translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifFaultText</name>
    <message>
        <source>The device refused the user name or password. Check both and try again.</source>
        <translation>设备拒绝了用户名或密码。请检查后重试。</translation>
    </message>
    <message>
        <source>The device refused the new IPv4 address or subnet mask. Choose another address.</source>
        <translation>设备拒绝了新的 IPv4 地址或子网掩码。请选择其他地址。</translation>
    </message>
    <message>
        <source>The device refused the gateway. Enter a gateway inside the device&apos;s subnet.</source>
        <translation>设备拒绝了该网关。请输入位于设备子网内的网关。</translation>
    </message>
    <message>
        <source>The device refused one of the values. Check the fields and try again.</source>
        <translation>设备拒绝了其中一个参数值。请检查各输入框后重试。</translation>
    </message>
    <message>
        <source>The device does not support this change. Change the setting on the device&apos;s web page.</source>
        <translation>设备不支持此项修改。请在设备的网页上修改该设置。</translation>
    </message>
    <message>
        <source>The device did not accept the network adapter named in the request. Select the device again and retry.</source>
        <translation>设备不接受请求中指定的网卡。请重新选择该设备后重试。</translation>
    </message>
    <message>
        <source>The device cannot be reached. Check that it is on and that this computer has an address in the device&apos;s subnet.</source>
        <translation>无法连接设备。请检查设备是否开机，以及本机是否有位于设备子网中的地址。</translation>
    </message>
    <message>
        <source>The device refused the connection: nothing answers on its HTTP port. Check the port in the list and that the device&apos;s ONVIF service is on.</source>
        <translation>设备拒绝连接：其 HTTP 端口无响应。请检查列表中的端口，并确认设备的 ONVIF 服务已开启。</translation>
    </message>
    <message>
        <source>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</source>
        <translation>设备未及时应答，修改仍可能生效。请稍后在列表中查看其参数，再决定是否重试。</translation>
    </message>
    <message>
        <source>The device answered with HTTP error %1 instead of carrying out the request. Try again later, or make the change on the device&apos;s web page.</source>
        <extracomment>%1 is an HTTP status number such as 404 or 500</extracomment>
        <translation>设备返回 HTTP 错误 %1，未执行请求。请稍后重试，或在设备的网页上修改。</translation>
    </message>
    <message>
        <source>The device&apos;s answer could not be read. Update the device&apos;s firmware or make the change on its web page.</source>
        <translation>无法读取设备的应答。请升级设备固件，或在其网页上修改。</translation>
    </message>
    <message>
        <source>The device&apos;s answer was too large to be read safely and was ignored.</source>
        <translation>设备的应答过大，无法安全读取，已忽略。</translation>
    </message>
    <message>
        <source>The device accepts the password only in readable form, which anyone on the network could see. Nothing was sent. Turn on digest authentication on the device&apos;s web page.</source>
        <translation>设备只接受明文密码，网络上的任何人都能看到。未发送任何内容。请在设备的网页上开启摘要认证。</translation>
    </message>
    <message>
        <source>The device&apos;s address lies outside the network this program may contact, so nothing was sent to it.</source>
        <translation>设备地址不在本程序允许访问的网络范围内，因此未向其发送任何内容。</translation>
    </message>
    <message>
        <source>The device refused the request: %1</source>
        <extracomment>%1 is the device&apos;s own explanation, in the language the device uses</extracomment>
        <translation>设备拒绝了请求：%1</translation>
    </message>
    <message>
        <source>The device refused the request without saying why (fault %1).</source>
        <extracomment>%1 is a technical fault name such as &quot;ter:InvalidArgs&quot;</extracomment>
        <translation>设备拒绝了请求，但未说明原因（故障 %1）。</translation>
    </message>
    <message>
        <source>The device refused the request as invalid. Check the values and try again.</source>
        <translation>设备认为请求无效并拒绝。请检查参数后重试。</translation>
    </message>
    <message>
        <source>The device could not carry out the request. Try again later.</source>
        <translation>设备无法执行该请求。请稍后重试。</translation>
    </message>
    <message>
        <source>The device presented another certificate than the one it showed before, so nothing was sent: another computer may pose as the device. If the device was reset or got a new certificate, forget its certificate in the panel and try again.</source>
        <translation>设备出示的证书与之前的不同，因此未发送任何内容：可能有另一台计算机在冒充该设备。如果设备已复位或更换了证书，请在面板中忘记其证书后重试。</translation>
    </message>
    <message>
        <source>No secure connection to the device could be made (it needs TLS 1.2 or later). Nothing was sent.</source>
        <translation>无法与设备建立安全连接（需要 TLS 1.2 或更高版本）。未发送任何内容。</translation>
    </message>
    <message>
        <source>A device at another address claims to be this device, so nothing was sent to either. Refresh the list once the other device is gone.</source>
        <translation>另一个地址上的设备声称是此设备，因此未向任何一方发送内容。待另一设备消失后请刷新列表。</translation>
    </message>
    <message>
        <source>The device offers no HTTPS, so the new password would cross the network readable by anyone on it. Nothing was sent.</source>
        <translation>设备不提供 HTTPS，新密码将以网络上任何人都能读取的形式传输。未发送任何内容。</translation>
    </message>
    <message>
        <source>maker, model, firmware and serial number</source>
        <translation>厂商、型号、固件和序列号</translation>
    </message>
    <message>
        <source>MAC address and IPv4 settings</source>
        <translation>MAC 地址和 IPv4 设置</translation>
    </message>
    <message>
        <source>gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>HTTP port</source>
        <translation>HTTP 端口</translation>
    </message>
    <message>
        <source>Not read: %1. %2</source>
        <extracomment>%1 lists what a device did not tell, %2 says why</extracomment>
        <translation>未能读取：%1。%2</translation>
    </message>
    <message>
        <source>the gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>the IPv4 settings</source>
        <translation>IPv4 设置</translation>
    </message>
    <message>
        <source>the HTTP port</source>
        <translation>HTTP 端口</translation>
    </message>
    <message>
        <source>Applied, but not %1. %2</source>
        <extracomment>%1 lists the parts of a change the device did not apply, %2 says why</extracomment>
        <translation>已应用，但%1除外。%2</translation>
    </message>
    <message>
        <source> and </source>
        <translation>和</translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifPasswordDialog</name>
    <message>
        <source>Device: %1</source>
        <translation>设备：%1</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Current Password:</source>
        <translation>当前密码：</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>新密码：</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>A user name has at most %1 characters.</source>
        <translation>用户名最多 %1 个字符。</translation>
    </message>
    <message>
        <source>Change Password</source>
        <extracomment>title of the dialog that changes an ONVIF device user&apos;s password</extracomment>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Change</source>
        <extracomment>button that sends the new password to the device</extracomment>
        <translation>修改</translation>
    </message>
    <message>
        <source>Please enter the user name.</source>
        <translation>请输入用户名。</translation>
    </message>
    <message>
        <source>Please enter the current password.</source>
        <translation>请输入当前密码。</translation>
    </message>
    <message>
        <source>The password cannot be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
    <message>
        <source>The two passwords do not match.</source>
        <translation>两次输入的密码不一致。</translation>
    </message>
    <message>
        <source>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</source>
        <translation>密码长度为 8 到 16 位，可由数字、小写字母、大写字母和特殊字符组成，且至少包含其中两种。</translation>
    </message>
    <message>
        <source>Not changed: this program cannot change ONVIF devices yet.</source>
        <translation>未修改：本程序暂不能修改 ONVIF 设备。</translation>
    </message>
    <message>
        <source>The password was changed.</source>
        <translation>密码已修改。</translation>
    </message>
    <message>
        <source>The password was not changed: %1</source>
        <translation>密码未修改：%1</translation>
    </message>
    <message>
        <source>Password in clear text</source>
        <translation>明文密码</translation>
    </message>
    <message>
        <source>The ONVIF device %1 offers no HTTPS. The new password would cross the network readable by anyone on it. Send it anyway?</source>
        <extracomment>%1 names the device: serial number or endpoint, and its address</extracomment>
        <translation>ONVIF 设备 %1 不提供 HTTPS。新密码将以网络上任何人都能读取的形式传输。仍要发送吗？</translation>
    </message>
    <message>
        <source>Send</source>
        <extracomment>button: send the new password to a device without HTTPS</extracomment>
        <translation>发送</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>button: do not send the new password</extracomment>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifSignInDialog</name>
    <message>
        <source>ONVIF Sign-In</source>
        <extracomment>title of the dialog asking for the user name and password of the ONVIF devices</extracomment>
        <translation>ONVIF 登录</translation>
    </message>
    <message>
        <source>Sign In</source>
        <extracomment>button that identifies the ONVIF devices with the typed user name and password</extracomment>
        <translation>登录</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The program reads the serial number, MAC address and network settings of the ONVIF devices with this user name and password. They are kept only until the program ends.</source>
        <translation>程序使用此用户名和密码读取 ONVIF 设备的序列号、MAC 地址和网络参数。它们只保留到程序退出为止。</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
</context>
<context>
    <name>VexoTool::PanelState</name>
    <message>
        <source>Wait until the running operation has ended.</source>
        <extracomment>Tool tip of a panel button that is disabled while a change or an activation runs</extracomment>
        <translation>请等待正在进行的操作结束。</translation>
    </message>
    <message>
        <source>Tick a device in the list first.</source>
        <extracomment>Tool tip of the panel&apos;s disabled controls while no device is ticked</extracomment>
        <translation>请先在列表中勾选设备。</translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) ticked</source>
        <extracomment>In the panel while batch operations are on</extracomment>
        <translation>
            <numerusform>已勾选 %n 台设备</numerusform>
        </translation>
    </message>
    <message>
        <source>Not activated: %1</source>
        <extracomment>In the panel when activated and not activated devices are ticked together; %1 lists the latter</extracomment>
        <translation>未激活：%1</translation>
    </message>
    <message>
        <source>Activation uses the device protocol, which ONVIF devices do not answer. Set the first password on the device&apos;s web page.</source>
        <translation>激活使用设备协议，而 ONVIF 设备不支持该协议。请在设备的网页上设置初始密码。</translation>
    </message>
    <message>
        <source>Password recovery uses the device protocol, which ONVIF devices do not answer. Reset the password on the device or with its maker&apos;s tool.</source>
        <translation>找回密码使用设备协议，而 ONVIF 设备不支持该协议。请在设备上或使用其厂商的工具重置密码。</translation>
    </message>
    <message>
        <source>No network adapter of this computer is in the device&apos;s subnet. Tick &quot;Try the change anyway&quot; to send the change all the same.</source>
        <translation>本机没有网卡位于该设备的子网中。勾选“仍然尝试修改”可照样发送修改。</translation>
    </message>
    <message>
        <source>ONVIF devices have no device port.</source>
        <extracomment>Tool tip of the disabled Port field</extracomment>
        <translation>ONVIF 设备没有设备端口。</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <extracomment>A list of devices cut short: %1 the first names, %n how many are left out</extracomment>
        <translation>
            <numerusform>%1 等，另有 %n 台</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked device(s) without a valid maker certificate: no password is sent to them until they show one.</source>
        <extracomment>In the panel: ticked devices whose announcements carry no valid maker certificate</extracomment>
        <translation>
            <numerusform>已勾选的设备中有 %n 台没有有效的厂商证书：在其出示证书之前，不会向其发送任何密码。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VexoTool::PasswordStrength</name>
    <message>
        <source>Weak</source>
        <extracomment>Password strength</extracomment>
        <translation>弱</translation>
    </message>
    <message>
        <source>Medium</source>
        <extracomment>Password strength</extracomment>
        <translation>中</translation>
    </message>
    <message>
        <source>Strong</source>
        <extracomment>Password strength</extracomment>
        <translation>强</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanApplier</name>
    <message>
        <source>Not sent: %1</source>
        <translation>未发送：%1</translation>
    </message>
    <message>
        <source>Not sent: cancelled.</source>
        <translation>未发送：已取消。</translation>
    </message>
    <message>
        <source>Activated; network parameters not changed: %1</source>
        <translation>已激活；网络参数未修改：%1</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanDialog</name>
    <message>
        <source>Apply Plan</source>
        <extracomment>Title of the dialog that applies an address plan file to the listed devices</extracomment>
        <translation>应用地址规划</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Plan file:</source>
        <translation>规划文件：</translation>
    </message>
    <message>
        <source>CSV or tab-separated file: serial or MAC, ipv4, mask, gateway, ...</source>
        <translation>CSV 或制表符分隔文件：序列号或 MAC、IPv4、掩码、网关……</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>选择…</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>Changes or reason</source>
        <translation>修改内容或原因</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Admin password:</source>
        <extracomment>The password that proves the changes to devices that are already activated</extracomment>
        <translation>管理员密码：</translation>
    </message>
    <message>
        <source>for devices that are already activated</source>
        <translation>用于已激活的设备</translation>
    </message>
    <message>
        <source>Choose a plan file</source>
        <translation>选择规划文件</translation>
    </message>
    <message>
        <source>Plan files (*.csv *.tsv *.txt);;All files (*)</source>
        <translation>规划文件 (*.csv *.tsv *.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>The plan cannot be used:</source>
        <translation>该规划无法使用：</translation>
    </message>
    <message>
        <source>%1 of %2 rows will be applied, %3 unchanged, %4 refused.</source>
        <translation>共 %2 行，将应用 %1 行，%3 行无变化，%4 行被拒绝。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>已发送</translation>
    </message>
    <message>
        <source>Report saved: %1 and %2</source>
        <translation>报告已保存：%1 和 %2</translation>
    </message>
    <message>
        <source>Applied: %1 succeeded, %2 failed, %3 not sent.</source>
        <translation>已应用：%1 台成功，%2 台失败，%3 行未发送。</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanFile</name>
    <message>
        <source>Text after the closing quote of a quoted field.</source>
        <translation>引号字段的结束引号后还有文字。</translation>
    </message>
    <message>
        <source>A quoted field is not closed.</source>
        <translation>引号字段没有结束引号。</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>第 %1 行第 %2 列：%3</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>The plan file cannot be opened: %1</source>
        <translation>无法打开规划文件：%1</translation>
    </message>
    <message>
        <source>The plan file is larger than %1 MB.</source>
        <translation>规划文件大于 %1 MB。</translation>
    </message>
    <message>
        <source>This is not a text file in UTF-8: the plan must be CSV or tab-separated text.</source>
        <translation>这不是 UTF-8 文本文件：规划必须是 CSV 或制表符分隔的文本。</translation>
    </message>
    <message>
        <source>The plan file is empty.</source>
        <translation>规划文件为空。</translation>
    </message>
    <message>
        <source>The first row names no column: a plan starts with a header row such as &quot;serial,ipv4,mask,gateway&quot;.</source>
        <translation>第一行没有列名：规划以标题行开头，例如“serial,ipv4,mask,gateway”。</translation>
    </message>
    <message>
        <source>Unknown column &quot;%1&quot;.</source>
        <translation>未知的列“%1”。</translation>
    </message>
    <message>
        <source>Column &quot;%1&quot; repeats column %2.</source>
        <translation>列“%1”与第 %2 列重复。</translation>
    </message>
    <message>
        <source>The plan needs a serial number or a MAC column to tell the devices apart.</source>
        <translation>规划需要序列号列或 MAC 列来区分设备。</translation>
    </message>
    <message>
        <source>The row has %1 fields, the header names %2 columns.</source>
        <translation>该行有 %1 个字段，标题行只有 %2 列。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a serial number.</source>
        <translation>“%1”不是序列号。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>“%1”不是 MAC 地址。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid IPv4 address.</source>
        <translation>“%1”不是有效的 IPv4 地址。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid subnet mask.</source>
        <translation>“%1”不是有效的子网掩码。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid gateway.</source>
        <translation>“%1”不是有效的网关。</translation>
    </message>
    <message>
        <source>Device port ranges from 2000 to 65535.</source>
        <translation>设备端口范围为 2000 到 65535。</translation>
    </message>
    <message>
        <source>Http port ranges from 1 to 65535.</source>
        <translation>HTTP 端口范围为 1 到 65535。</translation>
    </message>
    <message>
        <source>DHCP is &quot;on&quot; or &quot;off&quot;, not &quot;%1&quot;.</source>
        <translation>DHCP 应为“on”或“off”，而不是“%1”。</translation>
    </message>
    <message>
        <source>The password is longer than %1 characters.</source>
        <translation>密码超过 %1 个字符。</translation>
    </message>
    <message>
        <source>The row names no device: give its serial number or MAC.</source>
        <translation>该行没有指定设备：请填写序列号或 MAC。</translation>
    </message>
    <message>
        <source>The device is already planned in line %1.</source>
        <translation>该设备已在第 %1 行规划。</translation>
    </message>
    <message numerus="yes">
        <source>%n more problem(s) not listed.</source>
        <translation>
            <numerusform>另有 %n 个问题未列出。</numerusform>
        </translation>
    </message>
    <message>
        <source>The plan names no device.</source>
        <translation>规划中没有设备。</translation>
    </message>
    <message>
        <source>The row has more than %1 fields.</source>
        <translation>该行的字段超过 %1 个。</translation>
    </message>
    <message>
        <source>The plan has more than %1 rows.</source>
        <translation>规划超过 %1 行。</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanPreview</name>
    <message>
        <source>ON</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Will change</source>
        <translation>将修改</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>无变化</translation>
    </message>
    <message>
        <source>Device not listed</source>
        <translation>设备不在列表中</translation>
    </message>
    <message>
        <source>Device unverified</source>
        <translation>设备未验证</translation>
    </message>
    <message>
        <source>Password missing</source>
        <translation>缺少密码</translation>
    </message>
    <message>
        <source>Password too weak</source>
        <translation>密码太弱</translation>
    </message>
    <message>
        <source>Address in use</source>
        <translation>地址已被占用</translation>
    </message>
    <message>
        <source>Invalid network settings</source>
        <translation>网络参数无效</translation>
    </message>
    <message>
        <source>DHCP not supported</source>
        <translation>不支持 DHCP</translation>
    </message>
    <message>
        <source>DHCP on</source>
        <translation>DHCP 已开启</translation>
    </message>
    <message>
        <source>No listed device has this serial number or MAC.</source>
        <translation>列表中没有该序列号或 MAC 的设备。</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 地址</translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>HTTP Port</source>
        <translation>HTTP 端口</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>激活</translation>
    </message>
    <message>
        <source>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</source>
        <translation>该设备没有有效的厂商证书：它可能是仿冒设备，不会向它发送密码。</translation>
    </message>
    <message>
        <source>The device is not activated yet and the plan gives no password for it.</source>
        <translation>设备尚未激活，而规划中没有为它提供密码。</translation>
    </message>
    <message>
        <source>The plan&apos;s password is too weak: use 8 to 16 characters of at least two kinds (digits, lower-case, upper-case letters, symbols).</source>
        <translation>规划中的密码太弱：请使用 8 到 16 位，且至少包含两种字符（数字、小写字母、大写字母、符号）。</translation>
    </message>
    <message>
        <source>The device does not support DHCP.</source>
        <translation>设备不支持 DHCP。</translation>
    </message>
    <message>
        <source>The device uses DHCP, so a static IPv4 address would not be used: set DHCP to &quot;off&quot; in the plan.</source>
        <translation>设备使用 DHCP，静态 IPv4 地址不会生效：请在规划中将 DHCP 设为“off”。</translation>
    </message>
    <message>
        <source>The plan gives %1 to more than one device.</source>
        <translation>规划将 %1 分配给了多台设备。</translation>
    </message>
    <message>
        <source>%1 is used by device %2.</source>
        <translation>%1 已被设备 %2 使用。</translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <extracomment>one change of a device in a plan: what, its value now, its value after the plan</extracomment>
        <translation>%1：%2 → %3</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>between the changes of one device in a plan</extracomment>
        <translation>；</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanReport</name>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Old IPv4 Address</source>
        <translation>原 IPv4 地址</translation>
    </message>
    <message>
        <source>New IPv4 Address</source>
        <translation>新 IPv4 地址</translation>
    </message>
    <message>
        <source>Old Subnet Mask</source>
        <translation>原子网掩码</translation>
    </message>
    <message>
        <source>New Subnet Mask</source>
        <translation>新子网掩码</translation>
    </message>
    <message>
        <source>Old Gateway</source>
        <translation>原网关</translation>
    </message>
    <message>
        <source>New Gateway</source>
        <translation>新网关</translation>
    </message>
    <message>
        <source>Old Port</source>
        <translation>原端口</translation>
    </message>
    <message>
        <source>New Port</source>
        <translation>新端口</translation>
    </message>
    <message>
        <source>Old HTTP Port</source>
        <translation>原 HTTP 端口</translation>
    </message>
    <message>
        <source>New HTTP Port</source>
        <translation>新 HTTP 端口</translation>
    </message>
    <message>
        <source>Old DHCP</source>
        <translation>原 DHCP</translation>
    </message>
    <message>
        <source>New DHCP</source>
        <translation>新 DHCP</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>The report %1 cannot be written: %2</source>
        <translation>无法写入报告 %1：%2</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
</context>
<context>
    <name>VexoTool::ResetPasswordDialog</name>
    <message>
        <source>Reset Password</source>
        <translation>重置密码</translation>
    </message>
    <message>
        <source>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</source>
        <translation>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</translation>
    </message>
    <message>
        <source>请导入由“密码重置”生成的密钥文件，并重置密码（若是字符则手动输入，若是XML文件则文件导入）。</source>
        <translation>请导入由“密码重置”生成的密钥文件，并重置密码（若是字符则手动输入，若是XML文件则文件导入）。</translation>
    </message>
    <message>
        <source>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</source>
        <translation>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>QR code</source>
        <translation>二维码</translation>
    </message>
    <message>
        <source>ManualInput</source>
        <translation>手动输入</translation>
    </message>
    <message>
        <source>AutoInput</source>
        <translation>文件导入</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>新密码：</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>Reset IPC</source>
        <translation>同时重置IPC</translation>
    </message>
    <message>
        <source>Generate QR code error.</source>
        <translation>生成二维码失败。</translation>
    </message>
    <message>
        <source>Get key error.</source>
        <translation>获取密钥失败。</translation>
    </message>
    <message>
        <source>Exported.</source>
        <translation>导出成功。</translation>
    </message>
    <message>
        <source>Create device key file error.</source>
        <translation>创建设备密钥文件失败。</translation>
    </message>
    <message>
        <source>Please input the secret key.</source>
        <translation>请输入重置密钥。</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>两次输入的密码不一致。</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>密码长度为 8 到 16 位，可由数字、小写字母、大写字母和特殊字符组成，且至少包含其中两种。</translation>
    </message>
    <message>
        <source>Reset password Succeed.</source>
        <translation>重置密码成功。</translation>
    </message>
    <message>
        <source>Reset password failed.</source>
        <translation>重置密码失败。</translation>
    </message>
</context>
<context>
    <name>VexoTool::ResetPasswordWidget</name>
    <message>
        <source>Config Reset Password</source>
        <translation>批量重置密码</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>新密码：</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>确认密码：</translation>
    </message>
    <message>
        <source>Key Folder:</source>
        <extracomment>Label of the folder that holds the devices&apos; reset files.</extracomment>
        <translation>密钥文件夹：</translation>
    </message>
    <message>
        <source>Please input the secret key.</source>
        <translation>请选择重置密钥所在的文件夹。</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>两次输入的密码不一致。</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>密码长度为 8 到 16 位，可由数字、小写字母、大写字母和特殊字符组成，且至少包含其中两种。</translation>
    </message>
</context>
<context>
    <name>VexoTool::RestorePasswordDialog</name>
    <message>
        <source>Reset Default Password</source>
        <translation>恢复缺省密码</translation>
    </message>
    <message>
        <source>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</source>
        <translation>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</translation>
    </message>
    <message>
        <source>在“安全码”处输入“密码重置”生成的安全码，恢复的缺省密码是70639。</source>
        <translation>在“安全码”处输入“密码重置”生成的安全码，恢复的缺省密码是70639。</translation>
    </message>
    <message>
        <source>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</source>
        <translation>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</translation>
    </message>
    <message>
        <source>Security Code:</source>
        <translation>安全码：</translation>
    </message>
    <message>
        <source>Please input security code.</source>
        <translation>请输入安全码。</translation>
    </message>
    <message>
        <source>Restore password succeed.</source>
        <translation>恢复密码成功。</translation>
    </message>
    <message>
        <source>Restore password failed.</source>
        <translation>恢复密码失败。</translation>
    </message>
    <message>
        <source>The device&apos;s password is now %1. Sign in with it and set a new one.</source>
        <translation>设备的密码现在是 %1。请用它登录并立即设置新密码。</translation>
    </message>
</context>
<context>
    <name>VexoTool::SnapshotPanel</name>
    <message>
        <source>Click to see it larger</source>
        <extracomment>tool tip of the camera&apos;s snapshot in the panel</extracomment>
        <translation>点击放大查看</translation>
    </message>
    <message>
        <source>Refresh</source>
        <extracomment>button that takes a new snapshot of the camera shown in the panel</extracomment>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Save Snapshot...</source>
        <translation>保存快照...</translation>
    </message>
    <message>
        <source>Taking a snapshot...</source>
        <translation>正在获取快照...</translation>
    </message>
    <message>
        <source>Taken at %1 in %2 ms</source>
        <extracomment>when the snapshot in the panel was taken, and how long it took</extracomment>
        <translation>拍摄于 %1，用时 %2 毫秒</translation>
    </message>
    <message>
        <source>Snapshot of %1</source>
        <extracomment>title of the dialog that shows a camera&apos;s snapshot larger</extracomment>
        <translation>%1 的快照</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG 图像 (*.png)</translation>
    </message>
    <message>
        <source>JPEG image (*.jpg *.jpeg)</source>
        <translation>JPEG 图像 (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>保存快照</translation>
    </message>
    <message>
        <source>The snapshot could not be saved: %1</source>
        <translation>无法保存快照：%1</translation>
    </message>
</context>
<context>
    <name>VexoTool::SnapshotTexts</name>
    <message>
        <source>No snapshot: not signed in to this camera.</source>
        <translation>无快照：尚未登录此摄像机。</translation>
    </message>
    <message>
        <source>No snapshot: the camera has no media service.</source>
        <translation>无快照：摄像机没有媒体服务。</translation>
    </message>
    <message>
        <source>No snapshot: no media profile of the camera has video.</source>
        <translation>无快照：摄像机的媒体配置文件都不含视频。</translation>
    </message>
    <message>
        <source>No snapshot: the camera refused it.</source>
        <translation>无快照：摄像机拒绝了请求。</translation>
    </message>
    <message>
        <source>No snapshot: the image is too large.</source>
        <translation>无快照：图像过大。</translation>
    </message>
    <message>
        <source>No snapshot: the camera sent something that is not an image.</source>
        <translation>无快照：摄像机发来的内容不是图像。</translation>
    </message>
    <message>
        <source>No snapshot: the camera did not answer in time.</source>
        <translation>无快照：摄像机未及时应答。</translation>
    </message>
    <message>
        <source>No snapshot: the camera cannot be reached.</source>
        <translation>无快照：无法连接摄像机。</translation>
    </message>
</context>
<context>
    <name>VexoTool::SubnetReach</name>
    <message>
        <source>This computer has no network adapter with an IPv4 address, so the device at %1 cannot be reached. Connect the computer to the device&apos;s network and give the adapter an address in %2.</source>
        <translation>本机没有带 IPv4 地址的网卡，因此无法连接位于 %1 的设备。请将本机接入设备所在网络，并为网卡配置 %2 中的地址。</translation>
    </message>
    <message>
        <source>The device at %1 is outside the subnets of this computer&apos;s network adapters, so a change would not reach it. Add an address in %2 to the network adapter &quot;%3&quot; (one that no other device uses), or connect the computer to the device&apos;s network, then select the device again.</source>
        <extracomment>%1 is the device&apos;s address, %2 its subnet such as 10.1.2.0/24, %3 an adapter name such as eth0</extracomment>
        <translation>位于 %1 的设备不在本机任何网卡的子网内，修改请求无法到达。请为网卡“%3”添加一个 %2 中的地址（不要与其他设备冲突），或将本机接入设备所在网络，然后重新选择该设备。</translation>
    </message>
</context>
<context>
    <name>VexoTool::VEXOToolMainPage</name>
    <message>
        <source>VEXO Tool</source>
        <translation>VEXO 工具</translation>
    </message>
    <message>
        <source>Initialization failed.</source>
        <translation>初始化失败。</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Exit the VEXO software?</source>
        <translation>确定要退出 VEXO 软件吗？</translation>
    </message>
    <message>
        <source>Batch operations</source>
        <extracomment>Menu entry that lets the device list check several devices at once</extracomment>
        <translation>批量操作</translation>
    </message>
    <message>
        <source>Apply plan...</source>
        <extracomment>Menu entry that opens the dialog applying an address plan file to the listed devices</extracomment>
        <translation>应用地址规划…</translation>
    </message>
    <message>
        <source>Language</source>
        <extracomment>Title bar menu entry that opens the list of languages of the program</extracomment>
        <translation>语言</translation>
    </message>
    <message>
        <source>English</source>
        <extracomment>The English language, written in English in every language</extracomment>
        <translation>English</translation>
    </message>
    <message>
        <source>简体中文</source>
        <extracomment>The Simplified Chinese language, written in Chinese in every language</extracomment>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>The new language applies when VEXO Tool starts again.</source>
        <extracomment>Shown after the user picks another language; the same sentence in the chosen language follows</extracomment>
        <translation>新的语言将在下次启动 VEXO Tool 时生效。</translation>
    </message>
    <message>
        <source>ONVIF Sign-In...</source>
        <extracomment>Menu entry that asks for the user name and password with which the ONVIF devices are identified</extracomment>
        <translation>ONVIF 登录…</translation>
    </message>
    <message>
        <source>Password in clear text</source>
        <translation>明文密码</translation>
    </message>
    <message>
        <source>The ONVIF device %1 accepts the password only in clear text, which anyone on the network can read. Send it the password anyway?</source>
        <translation>ONVIF 设备 %1 只接受明文密码，网络上的任何人都能读到它。仍然向它发送密码吗？</translation>
    </message>
    <message>
        <source>Send</source>
        <extracomment>button: send the password to the device that accepts it only in clear text</extracomment>
        <translation>发送</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>button: do not send the password to the device that accepts it only in clear text</extracomment>
        <translation>跳过</translation>
    </message>
    <message>
        <source>The language could not be kept for the next start: %1 cannot be written.</source>
        <translation>无法为下次启动保存语言：%1 无法写入。</translation>
    </message>
    <message>
        <source>Your settings apply until VEXO Tool closes but cannot be kept for the next start: %1 cannot be written.</source>
        <translation>设置在 VEXO Tool 关闭前有效，但无法保留到下次启动：无法写入 %1。</translation>
    </message>
    <message>
        <source>Snapshot view</source>
        <extracomment>Menu entry that shows the cameras&apos; snapshots beside the list&apos;s rows</extracomment>
        <translation>快照视图</translation>
    </message>
    <message>
        <source>No ONVIF device is listed to sign in to.</source>
        <extracomment>the summary after &quot;ONVIF Sign-In&quot; when no ONVIF device is listed</extracomment>
        <translation>列表中没有可登录的 ONVIF 设备。</translation>
    </message>
    <message numerus="yes">
        <source>%n identified</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices were identified</extracomment>
        <translation>
            <numerusform>%n 台已识别</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n refused the user name or password</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices refused the credentials</extracomment>
        <translation>
            <numerusform>%n 台拒绝了用户名或密码</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n did not answer</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices did not answer</extracomment>
        <translation>
            <numerusform>%n 台没有应答</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n failed for another reason</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: devices that failed for another reason (in the list)</extracomment>
        <translation>
            <numerusform>%n 台因其他原因失败</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>separates the parts of the summary after &quot;ONVIF Sign-In&quot;</extracomment>
        <translation>，</translation>
    </message>
    <message>
        <source>Journal...</source>
        <extracomment>Menu entry that opens the window of the site journal</extracomment>
        <translation>日志…</translation>
    </message>
    <message>
        <source>Hand-over report...</source>
        <extracomment>Menu entry that writes the hand-over report (devices, changes, open failures) of the site</extracomment>
        <translation>交接报告…</translation>
    </message>
    <message>
        <source>Journal</source>
        <extracomment>title of the message that the site journal cannot be written for now</extracomment>
        <translation>日志</translation>
    </message>
    <message>
        <source>The journal cannot be written for now (%1). Your changes are kept and written to it once it can be; your work goes on.</source>
        <translation>目前无法写入日志（%1）。您的变更会被保留，待可写入时再写入；您的工作不受影响。</translation>
    </message>
    <message>
        <source>ONVIF sign-in: %1</source>
        <translation>ONVIF 登录：%1</translation>
    </message>
    <message>
        <source>ONVIF sign-in: %1 of %2 devices answered</source>
        <extracomment>the count line while an ONVIF sign-in runs: %1 of %2 devices have answered it</extracomment>
        <translation>ONVIF 登录：%2 台设备中已有 %1 台应答</translation>
    </message>
    <message>
        <source>ONVIF sign-in...</source>
        <extracomment>the count line right after an ONVIF sign-in started</extracomment>
        <translation>ONVIF 登录中...</translation>
    </message>
</context>
<context>
    <name>WarningDialog</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>apt::ToolsApplication</name>
    <message>
        <source>VEXOTool</source>
        <translation>VEXO 工具</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>VEXO is already running.</source>
        <translation>VEXO 已在运行。</translation>
    </message>
    <message>
        <source>Display resolution less than 1024*768,are you sure to start the program?</source>
        <translation>显示分辨率低于 1024 × 768，仍要启动程序吗？</translation>
    </message>
</context>
<context>
    <name>aptui::CDlgAbout</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>版本：</translation>
    </message>
    <message>
        <source> v%1</source>
        <extracomment>%1 is the program&apos;s version</extracomment>
        <translation> v%1</translation>
    </message>
</context>
<context>
    <name>aptui::LinkMessageBox</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>aptui::PinButton</name>
    <message>
        <source>Show the panel</source>
        <translation>显示面板</translation>
    </message>
    <message>
        <source>Hide the panel</source>
        <translation>隐藏面板</translation>
    </message>
    <message>
        <source>Show the panel (%1)</source>
        <extracomment>%1 is the key that does the same, such as Ctrl+P</extracomment>
        <translation>显示面板（%1）</translation>
    </message>
    <message>
        <source>Hide the panel (%1)</source>
        <extracomment>%1 is the key that does the same, such as Ctrl+P</extracomment>
        <translation>隐藏面板（%1）</translation>
    </message>
</context>
</TS>
