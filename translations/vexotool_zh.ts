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
        <source>v3.0.0.1build</source>
        <translation>v3.0.0.1 build </translation>
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
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Part failed.Please check&quot;out_error&quot; file</source>
        <translation>部分设备失败，请查看“out_error.txt”文件。</translation>
    </message>
    <message>
        <source>Exported</source>
        <translation>导出完成。</translation>
    </message>
    <message>
        <source>Part failed.Please check&quot;in_error&quot; or &quot;mismatch&quot; file</source>
        <translation>部分设备失败，请查看“in_error.txt”和“mismatch.txt”文件。</translation>
    </message>
    <message>
        <source>Successed</source>
        <translation>完成。</translation>
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
        <source>Activation</source>
        <translation>激活</translation>
    </message>
    <message>
        <source>Batch activate devices</source>
        <translation>批量激活设备数</translation>
    </message>
    <message>
        <source>Activate fail numbers</source>
        <translation>激活失败数</translation>
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
</context>
<context>
    <name>VexoTool::DeviceModifyResultPage</name>
    <message>
        <source>Confirmation List</source>
        <translation>确认列表</translation>
    </message>
    <message>
        <source>Devices Number:</source>
        <translation>设备数量：</translation>
    </message>
    <message>
        <source>Failed Number:</source>
        <translation>失败数量：</translation>
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
    <name>VexoTool::InputLimitHint</name>
    <message>
        <source>A password has at most %1 characters.</source>
        <extracomment>Shown under a password field when a further character is refused</extracomment>
        <translation>密码最多 %1 个字符。</translation>
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
        <source> v2.0.0.3</source>
        <translation> v2.0.0.3</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>版本：</translation>
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
