<?xml version="1.0"?>
<program>
  <uses unit="stawki.cpp">
    <program>
      <const pos="1:9">
        <ident text="StawkaObnizona" pos="1:23"/>
        <expr pos="1:24" pos1="1:25">
          <number text="8" pos="1:25"/>
        </expr>
      </const>
      <function pos="3:1">
        <type text="float" pos="3:6"/>
        <name text="Netto" pos="3:12"/>
        <parameters pos="3:12">
          <var pos="3:13">
            <type text="float" pos="3:18"/>
            <ident text="brutto" pos="3:25"/>
          </var>
        </parameters>
        <compoundstmt pos="4:1">
          <return pos="5:3">
            <expr pos="5:10" pos1="5:23">
              <dsgn pos="5:10">
                <node text="brutto" pos="5:16"/>
              </dsgn>
              <op text="/" pos="5:18"/>
              <number text="1.23" pos="5:23"/>
            </expr>
          </return>
        </compoundstmt>
      </function>
      <compoundstmt pos="8:1"/>
      <types>
        <int type="integer"/>
        <long type="integer"/>
        <void type="integer"/>
        <bool type="boolean"/>
        <float type="extended"/>
      </types>
    </program>
  </uses>
  <const pos="3:9">
    <ident text="VatStawka" pos="3:18"/>
    <expr pos="3:19" pos1="3:21">
      <number text="23" pos="3:21"/>
    </expr>
  </const>
  <const pos="4:9">
    <ident text="Nazwa" pos="4:14"/>
    <expr pos="4:15" pos1="4:28">
      <string text="'Faktura VAT'" pos="4:28"/>
    </expr>
  </const>
  <var pos="5:1">
    <type text="int" pos="5:4"/>
    <ident text="i" pos="5:6"/>
    <ident text="n" pos="5:9"/>
  </var>
  <var pos="6:1">
    <type text="float" pos="6:6"/>
    <ident text="suma" pos="6:11"/>
    <ident text="podatek" pos="6:20"/>
  </var>
  <var pos="7:1">
    <type text="string" pos="7:7"/>
    <ident text="opis" pos="7:12"/>
  </var>
  <var pos="8:1">
    <type text="float" pos="8:6"/>
    <ident text="pozycje" pos="8:14"/>
    <array pos="8:14">
      <dim pos="8:15">
        <expr pos="8:15" pos1="8:17">
          <number text="10" pos="8:17"/>
        </expr>
      </dim>
    </array>
  </var>
  <var pos="9:1">
    <type text="int" pos="9:4"/>
    <ident text="tabela" pos="9:11"/>
    <array pos="9:11">
      <dim pos="9:12">
        <expr pos="9:12" pos1="9:13">
          <number text="3" pos="9:13"/>
        </expr>
      </dim>
      <dim pos="9:15">
        <expr pos="9:15" pos1="9:16">
          <number text="2" pos="9:16"/>
        </expr>
      </dim>
    </array>
  </var>
  <var pos="10:1">
    <type text="bool" pos="10:5"/>
    <ident text="ok" pos="10:8"/>
    <init pos="10:9">
      <expr pos="10:11" pos1="10:15">
        <dsgn pos="10:11">
          <node text="true" pos="10:15"/>
        </dsgn>
      </expr>
    </init>
  </var>
  <function pos="12:1">
    <type text="float" pos="12:6"/>
    <name text="Brutto" pos="12:13"/>
    <parameters pos="12:13">
      <var pos="12:14">
        <type text="float" pos="12:19"/>
        <ident text="netto" pos="12:25"/>
      </var>
      <var pos="12:27">
        <type text="float" pos="12:32"/>
        <varparam text="&#38;" pos="12:34"/>
        <ident text="podatek" pos="12:41"/>
      </var>
      <var pos="12:43">
        <type text="int" pos="12:46"/>
        <ident text="stawka" pos="12:53"/>
      </var>
    </parameters>
    <compoundstmt pos="13:1">
      <var pos="14:3">
        <type text="float" pos="14:8"/>
        <ident text="x" pos="14:10"/>
      </var>
      <assignstmt pos="15:3">
        <dsgn pos="15:3">
          <node text="podatek" pos="15:10"/>
        </dsgn>
        <expr pos="15:13" pos1="15:33">
          <dsgn pos="15:13">
            <node text="netto" pos="15:18"/>
          </dsgn>
          <op text="*" pos="15:20"/>
          <dsgn pos="15:21">
            <node text="stawka" pos="15:27"/>
          </dsgn>
          <op text="/" pos="15:29"/>
          <number text="100" pos="15:33"/>
        </expr>
      </assignstmt>
      <return pos="16:3">
        <expr pos="16:10" pos1="16:25">
          <dsgn pos="16:10">
            <node text="netto" pos="16:15"/>
          </dsgn>
          <op text="+" pos="16:17"/>
          <dsgn pos="16:18">
            <node text="podatek" pos="16:25"/>
          </dsgn>
        </expr>
      </return>
    </compoundstmt>
  </function>
  <function pos="19:1">
    <type text="void" pos="19:5"/>
    <name text="Zeruj" pos="19:11"/>
    <parameters pos="19:11"/>
    <compoundstmt pos="20:1">
      <assignstmt pos="21:3">
        <dsgn pos="21:3">
          <node text="suma" pos="21:7"/>
        </dsgn>
        <expr pos="21:10" pos1="21:11">
          <number text="0" pos="21:11"/>
        </expr>
      </assignstmt>
    </compoundstmt>
  </function>
  <compoundstmt pos="24:1">
    <callstmt pos="25:3">
      <dsgn pos="25:3">
        <node text="Zeruj" pos="25:8"/>
      </dsgn>
    </callstmt>
    <assignstmt pos="26:3">
      <dsgn pos="26:3">
        <node text="n" pos="26:4"/>
      </dsgn>
      <expr pos="26:7" pos1="26:21">
        <dsgn pos="26:20">
          <node text="Get" pos="26:20"/>
          <expr pos="26:20">
            <string text="'Dane.&#34;Ilosc&#34;'" pos="26:20"/>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
    <cppforstmt pos="27:3">
      <compoundstmt pos="27:8">
        <assignstmt pos="27:8">
          <dsgn pos="27:8">
            <node text="i" pos="27:9"/>
          </dsgn>
          <expr pos="27:12" pos1="27:13">
            <number text="0" pos="27:13"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="27:15" pos1="27:21">
        <dsgn pos="27:15">
          <node text="i" pos="27:16"/>
        </dsgn>
        <op text="&#60;" pos="27:18"/>
        <number text="10" pos="27:21"/>
      </expr>
      <compoundstmt pos="27:23">
        <callstmt pos="27:23">
          <dsgn pos="27:23">
            <node text="i" pos="27:24"/>
          </dsgn>
          <modificator text="+" pos="27:26"/>
        </callstmt>
      </compoundstmt>
      <assignstmt pos="28:5">
        <dsgn pos="28:5">
          <node text="pozycje" pos="28:12"/>
          <node text="[" pos="28:13"/>
          <expr pos="28:13" pos1="28:14">
            <dsgn pos="28:13">
              <node text="i" pos="28:14"/>
            </dsgn>
          </expr>
        </dsgn>
        <expr pos="28:18" pos1="28:27">
          <dsgn pos="28:18">
            <node text="i" pos="28:19"/>
          </dsgn>
          <op text="*" pos="28:21"/>
          <number text="1.5e2" pos="28:27"/>
        </expr>
      </assignstmt>
    </cppforstmt>
    <cppforstmt pos="29:3">
      <compoundstmt pos="29:8">
        <assignstmt pos="29:8">
          <dsgn pos="29:8">
            <node text="i" pos="29:9"/>
          </dsgn>
          <expr pos="29:12" pos1="29:13">
            <number text="9" pos="29:13"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="29:15" pos1="29:21">
        <dsgn pos="29:15">
          <node text="i" pos="29:16"/>
        </dsgn>
        <op text="&#62;=" pos="29:19"/>
        <number text="0" pos="29:21"/>
      </expr>
      <compoundstmt pos="29:23">
        <callstmt pos="29:23">
          <dsgn pos="29:23">
            <node text="i" pos="29:24"/>
          </dsgn>
          <modificator text="-" pos="29:26"/>
        </callstmt>
      </compoundstmt>
      <compoundstmt pos="30:3">
        <ifstmt pos="31:5">
          <expr pos="31:9" pos1="31:19">
            <dsgn pos="31:9">
              <node text="i" pos="31:10"/>
            </dsgn>
            <op text="mod" pos="31:12"/>
            <number text="2" pos="31:14"/>
            <op text="=" pos="31:17"/>
            <number text="0" pos="31:19"/>
          </expr>
          <thenstmt pos="31:21">
            <continue pos="31:21"/>
          </thenstmt>
          <elsestmt pos="31:36">
            <assignstmt pos="31:36">
              <dsgn pos="31:36">
                <node text="suma" pos="31:40"/>
              </dsgn>
              <expr pos="31:43" pos1="31:51">
                <dsgn pos="31:43">
                  <node text="suma" pos="31:47"/>
                </dsgn>
                <op text="-" pos="31:49"/>
                <number text="1" pos="31:51"/>
              </expr>
            </assignstmt>
          </elsestmt>
        </ifstmt>
        <assignstmt pos="32:5">
          <dsgn pos="32:5">
            <node text="suma" pos="32:9"/>
          </dsgn>
          <modificator text="+" pos="32:11"/>
          <expr pos="32:13" pos1="32:23">
            <dsgn pos="32:13">
              <node text="pozycje" pos="32:20"/>
              <node text="[" pos="32:21"/>
              <expr pos="32:21" pos1="32:22">
                <dsgn pos="32:21">
                  <node text="i" pos="32:22"/>
                </dsgn>
              </expr>
            </dsgn>
          </expr>
        </assignstmt>
        <ifstmt pos="33:5">
          <expr pos="33:9" pos1="33:20">
            <dsgn pos="33:9">
              <node text="suma" pos="33:13"/>
            </dsgn>
            <op text="&#62;" pos="33:15"/>
            <number text="1000" pos="33:20"/>
          </expr>
          <thenstmt pos="33:22">
            <break pos="33:22"/>
          </thenstmt>
        </ifstmt>
      </compoundstmt>
    </cppforstmt>
    <assignstmt pos="35:3">
      <dsgn pos="35:3">
        <node text="i" pos="35:4"/>
      </dsgn>
      <expr pos="35:7" pos1="35:8">
        <number text="0" pos="35:8"/>
      </expr>
    </assignstmt>
    <whilestmt pos="36:3">
      <expr pos="36:10" pos1="36:24">
        <op text="(" pos="36:11"/>
        <expr pos="36:11" pos1="36:16">
          <dsgn pos="36:11">
            <node text="i" pos="36:12"/>
          </dsgn>
          <op text="&#60;" pos="36:14"/>
          <dsgn pos="36:15">
            <node text="n" pos="36:16"/>
          </dsgn>
        </expr>
        <op text=")" pos="36:17"/>
        <op text="and" pos="36:20"/>
        <op text="not" pos="36:22"/>
        <dsgn pos="36:22">
          <node text="ok" pos="36:24"/>
        </dsgn>
      </expr>
      <callstmt pos="37:5">
        <dsgn pos="37:5">
          <node text="i" pos="37:6"/>
        </dsgn>
        <modificator text="+" pos="37:8"/>
      </callstmt>
    </whilestmt>
    <repeatstmt pos="38:3">
      <compoundstmt pos="39:3">
        <assignstmt pos="40:5">
          <dsgn pos="40:5">
            <node text="i" pos="40:6"/>
          </dsgn>
          <modificator text="-" pos="40:8"/>
          <expr pos="40:10" pos1="40:11">
            <number text="1" pos="40:11"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="41:12" pos1="41:29">
        <dsgn pos="41:12">
          <node text="i" pos="41:13"/>
        </dsgn>
        <op text="&#62;" pos="41:15"/>
        <number text="0" pos="41:17"/>
        <op text="and" pos="41:20"/>
        <dsgn pos="41:21">
          <node text="i" pos="41:22"/>
        </dsgn>
        <op text="&#60;=" pos="41:25"/>
        <number text="100" pos="41:29"/>
      </expr>
      <inverse text="" pos="41:29"/>
    </repeatstmt>
    <casestmt pos="42:3">
      <expr pos="42:11" pos1="42:12">
        <dsgn pos="42:11">
          <node text="n" pos="42:12"/>
        </dsgn>
      </expr>
      <caseselector pos="44:5">
        <set pos="44:10">
          <expr pos="44:10" pos1="44:11">
            <number text="1" pos="44:11"/>
          </expr>
          <expr pos="44:13" pos1="44:14">
            <number text="2" pos="44:14"/>
          </expr>
        </set>
        <assignstmt pos="44:16">
          <dsgn pos="44:16">
            <node text="opis" pos="44:20"/>
          </dsgn>
          <expr pos="44:23" pos1="44:30">
            <string text="'mało'" pos="44:30"/>
          </expr>
        </assignstmt>
      </caseselector>
      <caseselector pos="45:5">
        <set pos="45:10">
          <expr pos="45:10" pos1="45:11">
            <number text="3" pos="45:11"/>
          </expr>
          <range text="." pos="45:13"/>
          <expr pos="45:13" pos1="45:14">
            <number text="5" pos="45:14"/>
          </expr>
        </set>
        <assignstmt pos="45:16">
          <dsgn pos="45:16">
            <node text="opis" pos="45:20"/>
          </dsgn>
          <expr pos="45:23" pos1="45:33">
            <string text="'średnio'" pos="45:33"/>
          </expr>
        </assignstmt>
      </caseselector>
      <assignstmt pos="46:14">
        <dsgn pos="46:14">
          <node text="opis" pos="46:18"/>
        </dsgn>
        <expr pos="46:21" pos1="46:28">
          <string text="'dużo'" pos="46:28"/>
        </expr>
      </assignstmt>
    </casestmt>
    <trystmt pos="48:3">
      <compoundstmt pos="49:3">
        <assignstmt pos="50:5">
          <dsgn pos="50:5">
            <node text="suma" pos="50:9"/>
          </dsgn>
          <expr pos="50:12" pos1="50:44">
            <dsgn pos="50:12">
              <node text="suma" pos="50:16"/>
            </dsgn>
            <op text="div" pos="50:20"/>
            <number text="2" pos="50:22"/>
            <op text="shl" pos="50:25"/>
            <number text="1" pos="50:27"/>
            <op text="shr" pos="50:30"/>
            <number text="1" pos="50:32"/>
            <op text="xor" pos="50:34"/>
            <number text="3" pos="50:36"/>
            <op text="or" pos="50:39"/>
            <number text="$FF" pos="50:44"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <exceptstmt pos="53:3">
        <compoundstmt pos="53:3">
          <assignstmt pos="54:5">
            <dsgn pos="54:5">
              <node text="opis" pos="54:9"/>
            </dsgn>
            <expr pos="54:12" pos1="54:28">
              <dsgn pos="54:12">
                <node text="ExceptionMessage" pos="54:28"/>
              </dsgn>
            </expr>
          </assignstmt>
        </compoundstmt>
      </exceptstmt>
    </trystmt>
    <trystmt pos="56:3">
      <compoundstmt pos="57:3">
        <assignstmt pos="58:5">
          <dsgn pos="58:5">
            <node text="ok" pos="58:7"/>
          </dsgn>
          <expr pos="58:10" pos1="58:71">
            <op text="(" pos="58:11"/>
            <expr pos="58:11" pos1="58:17">
              <dsgn pos="58:11">
                <node text="n" pos="58:12"/>
              </dsgn>
              <op text="&#62;=" pos="58:15"/>
              <number text="1" pos="58:17"/>
            </expr>
            <op text=")" pos="58:18"/>
            <op text="and" pos="58:21"/>
            <op text="(" pos="58:23"/>
            <expr pos="58:23" pos1="58:29">
              <dsgn pos="58:23">
                <node text="n" pos="58:24"/>
              </dsgn>
              <op text="&#60;&#62;" pos="58:27"/>
              <number text="7" pos="58:29"/>
            </expr>
            <op text=")" pos="58:30"/>
            <op text="or" pos="58:33"/>
            <op text="(" pos="58:35"/>
            <expr pos="58:35" pos1="58:50">
              <dsgn pos="58:35">
                <node text="opis" pos="58:39"/>
              </dsgn>
              <op text="is" pos="58:42"/>
              <dsgn pos="58:43">
                <node text="TObject" pos="58:50"/>
              </dsgn>
            </expr>
            <op text=")" pos="58:51"/>
            <op text="and" pos="58:54"/>
            <op text="(" pos="58:56"/>
            <expr pos="58:56" pos1="58:70">
              <dsgn pos="58:56">
                <node text="n" pos="58:57"/>
              </dsgn>
              <op text="in" pos="58:60"/>
              <set pos="58:62">
                <expr pos="58:62" pos1="58:63">
                  <number text="1" pos="58:63"/>
                </expr>
                <expr pos="58:65" pos1="58:66">
                  <number text="3" pos="58:66"/>
                </expr>
                <range text="." pos="58:68"/>
                <expr pos="58:68" pos1="58:69">
                  <number text="5" pos="58:69"/>
                </expr>
              </set>
            </expr>
            <op text=")" pos="58:71"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <finallystmt pos="61:3">
        <compoundstmt pos="61:3">
          <exit pos="62:5"/>
        </compoundstmt>
      </finallystmt>
    </trystmt>
    <assignstmt pos="64:3">
      <dsgn pos="64:3">
        <node text="Report" pos="64:9"/>
        <node text="Title" pos="64:15"/>
      </dsgn>
      <expr pos="64:18" pos1="64:36">
        <dsgn pos="64:18">
          <node text="Nazwa" pos="64:23"/>
        </dsgn>
        <op text="+" pos="64:25"/>
        <string text="' '" pos="64:29"/>
        <op text="+" pos="64:31"/>
        <dsgn pos="64:32">
          <node text="opis" pos="64:36"/>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="65:3">
      <dsgn pos="65:3">
        <node text="pozycje" pos="65:10"/>
        <node text="[" pos="65:11"/>
        <expr pos="65:11" pos1="65:12">
          <number text="0" pos="65:12"/>
        </expr>
      </dsgn>
      <expr pos="65:16" pos1="65:21">
        <op text="unminus" pos="65:17"/>
        <dsgn pos="65:17">
          <node text="suma" pos="65:21"/>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="66:3">
      <dsgn pos="66:3">
        <node text="tabela" pos="66:9"/>
        <node text="[" pos="66:10"/>
        <expr pos="66:10" pos1="66:11">
          <number text="1" pos="66:11"/>
        </expr>
        <expr pos="66:13" pos1="66:14">
          <number text="1" pos="66:14"/>
        </expr>
      </dsgn>
      <expr pos="66:18" pos1="66:50">
        <dsgn pos="66:18">
          <node text="Brutto" pos="66:24"/>
          <expr pos="66:25" pos1="66:29">
            <dsgn pos="66:25">
              <node text="suma" pos="66:29"/>
            </dsgn>
          </expr>
          <expr pos="66:31" pos1="66:38">
            <dsgn pos="66:31">
              <node text="podatek" pos="66:38"/>
            </dsgn>
          </expr>
          <expr pos="66:40" pos1="66:49">
            <dsgn pos="66:40">
              <node text="VatStawka" pos="66:49"/>
            </dsgn>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="67:3">
      <dsgn pos="67:3">
        <node text="suma" pos="67:7"/>
      </dsgn>
      <modificator text="*" pos="67:9"/>
      <expr pos="67:11" pos1="67:12">
        <number text="2" pos="67:12"/>
      </expr>
    </assignstmt>
    <assignstmt pos="68:3">
      <dsgn pos="68:3">
        <node text="suma" pos="68:7"/>
      </dsgn>
      <modificator text="/" pos="68:9"/>
      <expr pos="68:11" pos1="68:12">
        <number text="4" pos="68:12"/>
      </expr>
    </assignstmt>
    <assignstmt pos="69:3">
      <dsgn pos="69:3">
        <node text="opis" pos="69:7"/>
      </dsgn>
      <expr pos="69:10" pos1="69:29">
        <string text="'&#13;&#10;Razem: A&#34;'" pos="69:29"/>
      </expr>
    </assignstmt>
    <delete pos="70:3">
      <dsgn pos="70:10">
        <node text="obj" pos="70:13"/>
      </dsgn>
    </delete>
    <assignstmt pos="71:3">
      <dsgn pos="71:3">
        <node text="obj" pos="71:6"/>
      </dsgn>
      <expr pos="71:9" pos1="71:22">
        <new pos="71:9">
          <dsgn pos="71:13">
            <node text="TObject" pos="71:20"/>
          </dsgn>
        </new>
      </expr>
    </assignstmt>
    <callstmt pos="72:3">
      <dsgn pos="72:3">
        <node text="Engine" pos="72:9"/>
        <node text="Fire" pos="72:14"/>
        <expr pos="72:15" pos1="72:21">
          <dsgn pos="72:15">
            <addr text="&#38;" pos="72:16"/>
            <node text="Zeruj" pos="72:21"/>
          </dsgn>
        </expr>
      </dsgn>
    </callstmt>
    <empty pos="73:3"/>
  </compoundstmt>
  <types>
    <int type="integer"/>
    <long type="integer"/>
    <void type="integer"/>
    <bool type="boolean"/>
    <float type="extended"/>
  </types>
</program>
