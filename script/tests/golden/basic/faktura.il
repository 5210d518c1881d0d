<?xml version="1.0"?>
<program>
  <compoundstmt pos="1:1">
    <uses unit="stawki.vbs">
      <program>
        <compoundstmt pos="1:1">
          <var pos="1:5">
            <ident text="StawkaObnizona" pos="1:19"/>
            <init pos="1:20">
              <expr pos="1:22" pos1="1:23">
                <number text="8" pos="1:23"/>
              </expr>
            </init>
          </var>
          <function pos="3:1">
            <name text="Netto" pos="3:15"/>
            <parameters pos="3:15">
              <var pos="3:16">
                <ident text="brutto" pos="3:22"/>
                <type text="Decimal" pos="3:33"/>
              </var>
            </parameters>
            <type text="Decimal" pos="3:45"/>
            <compoundstmt pos="4:3">
              <return pos="4:3">
                <expr pos="4:10" pos1="4:23">
                  <dsgn pos="4:10">
                    <node text="brutto" pos="4:16"/>
                  </dsgn>
                  <op text="/" pos="4:18"/>
                  <number text="1.23" pos="4:23"/>
                </expr>
              </return>
            </compoundstmt>
            <exit pos="5:5"/>
          </function>
        </compoundstmt>
        <types>
          <decimal type="extended"/>
        </types>
      </program>
    </uses>
    <var pos="3:5">
      <ident text="i" pos="3:6"/>
      <type text="Integer" pos="3:17"/>
    </var>
    <var pos="3:19">
      <ident text="n" pos="3:20"/>
      <type text="Integer" pos="3:31"/>
      <init pos="3:32">
        <expr pos="3:34" pos1="3:35">
          <number text="0" pos="3:35"/>
        </expr>
      </init>
    </var>
    <var pos="4:5">
      <ident text="suma" pos="4:9"/>
      <type text="Decimal" pos="4:20"/>
    </var>
    <var pos="4:22">
      <ident text="podatek" pos="4:29"/>
      <type text="Decimal" pos="4:40"/>
    </var>
    <var pos="4:42">
      <ident text="opis" pos="4:46"/>
      <type text="String" pos="4:56"/>
    </var>
    <var pos="5:5">
      <ident text="pozycje" pos="5:12"/>
      <array pos="5:12">
        <dim pos="5:13">
          <expr pos="5:13" pos1="5:15">
            <number text="10" pos="5:15"/>
          </expr>
        </dim>
      </array>
      <type text="Decimal" pos="5:27"/>
    </var>
    <var pos="6:5">
      <ident text="ok" pos="6:7"/>
      <init pos="6:8">
        <expr pos="6:10" pos1="6:14">
          <dsgn pos="6:10">
            <node text="True" pos="6:14"/>
          </dsgn>
        </expr>
      </init>
    </var>
    <function pos="8:1">
      <name text="Brutto" pos="8:16"/>
      <parameters pos="8:16">
        <var pos="8:17">
          <ident text="netto" pos="8:22"/>
          <type text="Decimal" pos="8:33"/>
        </var>
        <varparams pos="8:35"/>
        <var pos="8:41">
          <ident text="podatek" pos="8:48"/>
          <type text="Decimal" pos="8:59"/>
        </var>
        <var pos="8:67">
          <ident text="stawka" pos="8:73"/>
          <type text="Integer" pos="8:84"/>
        </var>
      </parameters>
      <type text="Decimal" pos="8:96"/>
      <compoundstmt pos="9:3">
        <var pos="9:7">
          <ident text="x" pos="9:8"/>
          <type text="Decimal" pos="9:19"/>
        </var>
        <assignstmt pos="10:3">
          <dsgn pos="10:3">
            <node text="podatek" pos="10:10"/>
          </dsgn>
          <expr pos="10:13" pos1="10:33">
            <dsgn pos="10:13">
              <node text="netto" pos="10:18"/>
            </dsgn>
            <op text="*" pos="10:20"/>
            <dsgn pos="10:21">
              <node text="stawka" pos="10:27"/>
            </dsgn>
            <op text="/" pos="10:29"/>
            <number text="100" pos="10:33"/>
          </expr>
        </assignstmt>
        <return pos="11:3">
          <expr pos="11:10" pos1="11:25">
            <dsgn pos="11:10">
              <node text="netto" pos="11:15"/>
            </dsgn>
            <op text="+" pos="11:17"/>
            <dsgn pos="11:18">
              <node text="podatek" pos="11:25"/>
            </dsgn>
          </expr>
        </return>
      </compoundstmt>
      <exit pos="12:5"/>
    </function>
    <procedure pos="14:1">
      <name text="Zeruj" pos="14:10"/>
      <compoundstmt pos="15:3">
        <assignstmt pos="15:3">
          <dsgn pos="15:3">
            <node text="suma" pos="15:7"/>
          </dsgn>
          <expr pos="15:10" pos1="15:11">
            <number text="0" pos="15:11"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <exit pos="16:5"/>
    </procedure>
    <callstmt pos="18:1">
      <dsgn pos="18:1">
        <node text="Zeruj" pos="18:6"/>
      </dsgn>
    </callstmt>
    <assignstmt pos="19:1">
      <dsgn pos="19:1">
        <node text="n" pos="19:2"/>
      </dsgn>
      <expr pos="19:5" pos1="19:19">
        <dsgn pos="19:18">
          <node text="Get" pos="19:18"/>
          <expr pos="19:18">
            <string text="'Dane.&#34;Ilosc&#34;'" pos="19:18"/>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
    <vbforstmt pos="20:1">
      <ident text="i" pos="20:6"/>
      <expr pos="20:9" pos1="20:10">
        <number text="0" pos="20:10"/>
      </expr>
      <expr pos="20:14" pos1="20:15">
        <number text="9" pos="20:15"/>
      </expr>
      <compoundstmt pos="21:3">
        <assignstmt pos="21:3">
          <dsgn pos="21:3">
            <node text="pozycje" pos="21:10"/>
            <node text="[" pos="21:11"/>
            <expr pos="21:11" pos1="21:12">
              <dsgn pos="21:11">
                <node text="i" pos="21:12"/>
              </dsgn>
            </expr>
          </dsgn>
          <expr pos="21:16" pos1="21:25">
            <dsgn pos="21:16">
              <node text="i" pos="21:17"/>
            </dsgn>
            <op text="*" pos="21:19"/>
            <number text="1.5e2" pos="21:25"/>
          </expr>
        </assignstmt>
      </compoundstmt>
    </vbforstmt>
    <vbforstmt pos="23:1">
      <ident text="i" pos="23:6"/>
      <expr pos="23:9" pos1="23:10">
        <number text="9" pos="23:10"/>
      </expr>
      <expr pos="23:14" pos1="23:15">
        <number text="0" pos="23:15"/>
      </expr>
      <expr pos="23:21" pos1="23:23">
        <op text="unminus" pos="23:22"/>
        <number text="1" pos="23:23"/>
      </expr>
      <compoundstmt pos="24:3">
        <ifstmt pos="24:3">
          <expr pos="24:6" pos1="24:17">
            <dsgn pos="24:6">
              <node text="i" pos="24:7"/>
            </dsgn>
            <op text="mod" pos="24:11"/>
            <number text="2" pos="24:13"/>
            <op text="=" pos="24:15"/>
            <number text="0" pos="24:17"/>
          </expr>
          <thenstmt pos="24:23">
            <continue pos="24:23"/>
          </thenstmt>
        </ifstmt>
        <assignstmt pos="25:3">
          <dsgn pos="25:3">
            <node text="suma" pos="25:7"/>
          </dsgn>
          <modificator text="+" pos="25:9"/>
          <expr pos="25:11" pos1="25:21">
            <dsgn pos="25:11">
              <node text="pozycje" pos="25:18"/>
              <node text="[" pos="25:19"/>
              <expr pos="25:19" pos1="25:20">
                <dsgn pos="25:19">
                  <node text="i" pos="25:20"/>
                </dsgn>
              </expr>
            </dsgn>
          </expr>
        </assignstmt>
        <ifstmt pos="26:3">
          <expr pos="26:6" pos1="26:17">
            <dsgn pos="26:6">
              <node text="suma" pos="26:10"/>
            </dsgn>
            <op text="&#62;" pos="26:12"/>
            <number text="1000" pos="26:17"/>
          </expr>
          <thenstmt pos="27:5">
            <compoundstmt pos="27:5">
              <break pos="27:5"/>
            </compoundstmt>
          </thenstmt>
        </ifstmt>
      </compoundstmt>
    </vbforstmt>
    <assignstmt pos="30:1">
      <dsgn pos="30:1">
        <node text="i" pos="30:2"/>
      </dsgn>
      <expr pos="30:5" pos1="30:6">
        <number text="0" pos="30:6"/>
      </expr>
    </assignstmt>
    <whilestmt pos="31:1">
      <expr pos="31:7" pos1="31:25">
        <op text="(" pos="31:8"/>
        <expr pos="31:8" pos1="31:13">
          <dsgn pos="31:8">
            <node text="i" pos="31:9"/>
          </dsgn>
          <op text="&#60;" pos="31:11"/>
          <dsgn pos="31:12">
            <node text="n" pos="31:13"/>
          </dsgn>
        </expr>
        <op text=")" pos="31:14"/>
        <op text="and" pos="31:18"/>
        <op text="not" pos="31:22"/>
        <dsgn pos="31:23">
          <node text="ok" pos="31:25"/>
        </dsgn>
      </expr>
      <compoundstmt pos="31:25">
        <assignstmt pos="32:3">
          <dsgn pos="32:3">
            <node text="i" pos="32:4"/>
          </dsgn>
          <expr pos="32:7" pos1="32:12">
            <dsgn pos="32:7">
              <node text="i" pos="32:8"/>
            </dsgn>
            <op text="+" pos="32:10"/>
            <number text="1" pos="32:12"/>
          </expr>
        </assignstmt>
      </compoundstmt>
    </whilestmt>
    <repeatstmt pos="34:1">
      <compoundstmt pos="34:3">
        <assignstmt pos="35:3">
          <dsgn pos="35:3">
            <node text="i" pos="35:4"/>
          </dsgn>
          <expr pos="35:7" pos1="35:12">
            <dsgn pos="35:7">
              <node text="i" pos="35:8"/>
            </dsgn>
            <op text="-" pos="35:10"/>
            <number text="1" pos="35:12"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="36:12" pos1="36:18">
        <dsgn pos="36:12">
          <node text="i" pos="36:13"/>
        </dsgn>
        <op text="&#60;=" pos="36:16"/>
        <number text="0" pos="36:18"/>
      </expr>
    </repeatstmt>
    <repeatstmt pos="37:1">
      <compoundstmt pos="37:3">
        <callstmt pos="38:3">
          <dsgn pos="38:3">
            <node text="i" pos="38:4"/>
          </dsgn>
          <modificator text="+" pos="38:6"/>
        </callstmt>
      </compoundstmt>
      <expr pos="39:12" pos1="39:17">
        <dsgn pos="39:12">
          <node text="i" pos="39:13"/>
        </dsgn>
        <op text="&#60;" pos="39:15"/>
        <number text="3" pos="39:17"/>
      </expr>
      <inverse text="" pos="39:17"/>
    </repeatstmt>
    <casestmt pos="40:1">
      <expr pos="40:13" pos1="40:14">
        <dsgn pos="40:13">
          <node text="n" pos="40:14"/>
        </dsgn>
      </expr>
      <caseselector pos="41:3">
        <set pos="41:8">
          <expr pos="41:8" pos1="41:9">
            <number text="1" pos="41:9"/>
          </expr>
          <expr pos="41:11" pos1="41:12">
            <number text="2" pos="41:12"/>
          </expr>
        </set>
        <compoundstmt pos="41:13">
          <assignstmt pos="42:5">
            <dsgn pos="42:5">
              <node text="opis" pos="42:9"/>
            </dsgn>
            <expr pos="42:12" pos1="42:19">
              <string text="'mało'" pos="42:19"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </caseselector>
      <caseselector pos="43:3">
        <set pos="43:8">
          <expr pos="43:8" pos1="43:9">
            <number text="3" pos="43:9"/>
          </expr>
          <range text="." pos="43:11"/>
          <expr pos="43:11" pos1="43:12">
            <number text="5" pos="43:12"/>
          </expr>
        </set>
        <compoundstmt pos="43:13">
          <assignstmt pos="44:5">
            <dsgn pos="44:5">
              <node text="opis" pos="44:9"/>
            </dsgn>
            <expr pos="44:12" pos1="44:22">
              <string text="'średnio'" pos="44:22"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </caseselector>
      <compoundstmt pos="45:13">
        <assignstmt pos="46:5">
          <dsgn pos="46:5">
            <node text="opis" pos="46:9"/>
          </dsgn>
          <expr pos="46:12" pos1="46:19">
            <string text="'dużo'" pos="46:19"/>
          </expr>
        </assignstmt>
      </compoundstmt>
    </casestmt>
    <trystmt pos="48:1">
      <compoundstmt pos="48:4">
        <assignstmt pos="49:3">
          <dsgn pos="49:3">
            <node text="suma" pos="49:7"/>
          </dsgn>
          <expr pos="49:10" pos1="49:32">
            <dsgn pos="49:10">
              <node text="suma" pos="49:14"/>
            </dsgn>
            <op text="div" pos="49:16"/>
            <number text="2" pos="49:18"/>
            <op text="xor" pos="49:22"/>
            <number text="3" pos="49:24"/>
            <op text="or" pos="49:27"/>
            <number text="$FF" pos="49:32"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <exceptstmt pos="50:6">
        <compoundstmt pos="50:6">
          <assignstmt pos="51:3">
            <dsgn pos="51:3">
              <node text="opis" pos="51:7"/>
            </dsgn>
            <expr pos="51:10" pos1="51:26">
              <dsgn pos="51:10">
                <node text="ExceptionMessage" pos="51:26"/>
              </dsgn>
            </expr>
          </assignstmt>
        </compoundstmt>
      </exceptstmt>
    </trystmt>
    <trystmt pos="53:1">
      <compoundstmt pos="53:4">
        <assignstmt pos="54:3">
          <dsgn pos="54:3">
            <node text="ok" pos="54:5"/>
          </dsgn>
          <expr pos="54:8" pos1="54:71">
            <op text="(" pos="54:9"/>
            <expr pos="54:9" pos1="54:15">
              <dsgn pos="54:9">
                <node text="n" pos="54:10"/>
              </dsgn>
              <op text="&#62;=" pos="54:13"/>
              <number text="1" pos="54:15"/>
            </expr>
            <op text=")" pos="54:16"/>
            <op text="and" pos="54:20"/>
            <op text="(" pos="54:22"/>
            <expr pos="54:22" pos1="54:28">
              <dsgn pos="54:22">
                <node text="n" pos="54:23"/>
              </dsgn>
              <op text="&#60;&#62;" pos="54:26"/>
              <number text="7" pos="54:28"/>
            </expr>
            <op text=")" pos="54:29"/>
            <op text="or" pos="54:32"/>
            <op text="(" pos="54:34"/>
            <expr pos="54:34" pos1="54:49">
              <dsgn pos="54:34">
                <node text="opis" pos="54:38"/>
              </dsgn>
              <op text="is" pos="54:41"/>
              <dsgn pos="54:42">
                <node text="TObject" pos="54:49"/>
              </dsgn>
            </expr>
            <op text=")" pos="54:50"/>
            <op text="and" pos="54:54"/>
            <op text="(" pos="54:56"/>
            <expr pos="54:56" pos1="54:70">
              <dsgn pos="54:56">
                <node text="n" pos="54:57"/>
              </dsgn>
              <op text="in" pos="54:60"/>
              <set pos="54:62">
                <expr pos="54:62" pos1="54:63">
                  <number text="1" pos="54:63"/>
                </expr>
                <expr pos="54:65" pos1="54:66">
                  <number text="3" pos="54:66"/>
                </expr>
                <range text="." pos="54:68"/>
                <expr pos="54:68" pos1="54:69">
                  <number text="5" pos="54:69"/>
                </expr>
              </set>
            </expr>
            <op text=")" pos="54:71"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <finallystmt pos="55:8">
        <compoundstmt pos="55:8">
          <exit pos="56:3"/>
        </compoundstmt>
      </finallystmt>
    </trystmt>
    <with pos="58:1">
      <dsgn pos="58:6">
        <node text="Report" pos="58:12"/>
      </dsgn>
      <compoundstmt pos="59:3">
        <assignstmt pos="59:3">
          <dsgn pos="59:3">
            <node text="Title" pos="59:8"/>
          </dsgn>
          <expr pos="59:11" pos1="59:37">
            <string text="'Faktura VAT'" pos="59:24"/>
            <op text="strcat" pos="59:26"/>
            <string text="' '" pos="59:30"/>
            <op text="strcat" pos="59:32"/>
            <dsgn pos="59:33">
              <node text="opis" pos="59:37"/>
            </dsgn>
          </expr>
        </assignstmt>
      </compoundstmt>
    </with>
    <ifstmt pos="61:1">
      <expr pos="61:4" pos1="61:9">
        <dsgn pos="61:4">
          <node text="n" pos="61:5"/>
        </dsgn>
        <op text="=" pos="61:7"/>
        <number text="1" pos="61:9"/>
      </expr>
      <thenstmt pos="62:3">
        <compoundstmt pos="62:3">
          <assignstmt pos="62:3">
            <dsgn pos="62:3">
              <node text="opis" pos="62:7"/>
            </dsgn>
            <expr pos="62:10" pos1="62:17">
              <string text="'jeden'" pos="62:17"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </thenstmt>
      <elsestmt pos="63:1">
        <ifstmt pos="63:1">
          <expr pos="63:8" pos1="63:13">
            <dsgn pos="63:8">
              <node text="n" pos="63:9"/>
            </dsgn>
            <op text="=" pos="63:11"/>
            <number text="2" pos="63:13"/>
          </expr>
          <thenstmt pos="64:3">
            <compoundstmt pos="64:3">
              <assignstmt pos="64:3">
                <dsgn pos="64:3">
                  <node text="opis" pos="64:7"/>
                </dsgn>
                <expr pos="64:10" pos1="64:15">
                  <string text="'dwa'" pos="64:15"/>
                </expr>
              </assignstmt>
            </compoundstmt>
          </thenstmt>
          <elsestmt pos="65:1">
            <compoundstmt pos="66:3">
              <assignstmt pos="66:3">
                <dsgn pos="66:3">
                  <node text="opis" pos="66:7"/>
                </dsgn>
                <expr pos="66:10" pos1="66:16">
                  <string text="'inne'" pos="66:16"/>
                </expr>
              </assignstmt>
            </compoundstmt>
          </elsestmt>
        </ifstmt>
      </elsestmt>
    </ifstmt>
    <assignstmt pos="68:1">
      <dsgn pos="68:1">
        <node text="pozycje" pos="68:8"/>
        <node text="[" pos="68:9"/>
        <expr pos="68:9" pos1="68:10">
          <number text="0" pos="68:10"/>
        </expr>
      </dsgn>
      <expr pos="68:14" pos1="68:19">
        <op text="unminus" pos="68:15"/>
        <dsgn pos="68:15">
          <node text="suma" pos="68:19"/>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="69:1">
      <dsgn pos="69:1">
        <node text="suma" pos="69:5"/>
      </dsgn>
      <modificator text="*" pos="69:7"/>
      <expr pos="69:9" pos1="69:10">
        <number text="2" pos="69:10"/>
      </expr>
    </assignstmt>
    <assignstmt pos="69:13">
      <dsgn pos="69:13">
        <node text="suma" pos="69:17"/>
      </dsgn>
      <modificator text="-" pos="69:19"/>
      <expr pos="69:21" pos1="69:22">
        <number text="1" pos="69:22"/>
      </expr>
    </assignstmt>
    <assignstmt pos="69:25">
      <dsgn pos="69:25">
        <node text="suma" pos="69:29"/>
      </dsgn>
      <modificator text="/" pos="69:31"/>
      <expr pos="69:33" pos1="69:34">
        <number text="4" pos="69:34"/>
      </expr>
    </assignstmt>
    <assignstmt pos="70:1">
      <assignstmt pos="70:5">
        <dsgn pos="70:5">
          <node text="obj" pos="70:8"/>
        </dsgn>
        <expr pos="70:11" pos1="70:22">
          <new pos="70:11">
            <dsgn pos="70:15">
              <node text="TObject" pos="70:22"/>
            </dsgn>
          </new>
        </expr>
      </assignstmt>
    </assignstmt>
    <delete pos="71:1">
      <dsgn pos="71:8">
        <node text="obj" pos="71:11"/>
      </dsgn>
    </delete>
    <callstmt pos="72:1">
      <dsgn pos="72:1">
        <node text="Engine" pos="72:7"/>
        <node text="Fire" pos="72:12"/>
        <expr pos="72:13" pos1="72:28">
          <dsgn pos="72:13">
            <addr text="AddressOf" pos="72:22"/>
            <node text="Zeruj" pos="72:28"/>
          </dsgn>
        </expr>
      </dsgn>
    </callstmt>
    <assignstmt pos="74:1">
      <dsgn pos="74:1">
        <node text="opis" pos="74:5"/>
      </dsgn>
      <expr pos="74:8" pos1="75:7">
        <string text="'Razem: '" pos="74:17"/>
        <op text="strcat" pos="74:19"/>
        <dsgn pos="75:3">
          <node text="suma" pos="75:7"/>
        </dsgn>
      </expr>
    </assignstmt>
  </compoundstmt>
  <types>
    <decimal type="extended"/>
  </types>
</program>
