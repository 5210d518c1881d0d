<?xml version="1.0"?>
<program>
  <uses unit="stawki.pas">
    <program>
      <const pos="2:3">
        <ident text="StawkaObnizona" pos="2:17"/>
        <expr pos="2:20" pos1="2:21">
          <number text="8" pos="2:21"/>
        </expr>
      </const>
      <function pos="4:1">
        <name text="Netto" pos="4:15"/>
        <parameters pos="4:15">
          <var pos="4:16">
            <ident text="brutto" pos="4:22"/>
            <type text="Extended" pos="4:32"/>
          </var>
        </parameters>
        <type text="Extended" pos="4:43"/>
        <compoundstmt pos="5:1">
          <assignstmt pos="6:3">
            <dsgn pos="6:3">
              <node text="Result" pos="6:9"/>
            </dsgn>
            <expr pos="6:13" pos1="6:26">
              <dsgn pos="6:13">
                <node text="brutto" pos="6:19"/>
              </dsgn>
              <op text="/" pos="6:21"/>
              <number text="1.23" pos="6:26"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </function>
      <compoundstmt pos="9:1"/>
      <types/>
    </program>
  </uses>
  <const pos="5:3">
    <ident text="VatStawka" pos="5:12"/>
    <expr pos="5:15" pos1="5:17">
      <number text="23" pos="5:17"/>
    </expr>
  </const>
  <const pos="6:3">
    <ident text="Nazwa" pos="6:8"/>
    <expr pos="6:11" pos1="6:24">
      <string text="'Faktura VAT'" pos="6:24"/>
    </expr>
  </const>
  <var pos="8:3">
    <ident text="i" pos="8:4"/>
    <ident text="n" pos="8:7"/>
    <type text="Integer" pos="8:16"/>
  </var>
  <var pos="9:3">
    <ident text="suma" pos="9:7"/>
    <ident text="podatek" pos="9:16"/>
    <type text="Extended" pos="9:26"/>
  </var>
  <var pos="10:3">
    <ident text="opis" pos="10:7"/>
    <type text="String" pos="10:15"/>
  </var>
  <var pos="11:3">
    <ident text="pozycje" pos="11:10"/>
    <array pos="11:12">
      <dim pos="11:18">
        <expr pos="11:18" pos1="11:19">
          <number text="0" pos="11:19"/>
        </expr>
        <expr pos="11:21" pos1="11:22">
          <number text="9" pos="11:22"/>
        </expr>
      </dim>
    </array>
    <type text="Extended" pos="11:35"/>
  </var>
  <var pos="12:3">
    <ident text="tabela" pos="12:9"/>
    <array pos="12:11">
      <dim pos="12:17">
        <expr pos="12:17" pos1="12:18">
          <number text="3" pos="12:18"/>
        </expr>
        <expr pos="12:17" pos1="12:18">
          <number text="3" pos="12:18"/>
        </expr>
      </dim>
      <dim pos="12:20">
        <expr pos="12:20" pos1="12:21">
          <number text="2" pos="12:21"/>
        </expr>
        <expr pos="12:20" pos1="12:21">
          <number text="2" pos="12:21"/>
        </expr>
      </dim>
    </array>
    <type text="Integer" pos="12:33"/>
  </var>
  <var pos="13:3">
    <ident text="ok" pos="13:5"/>
    <type text="Boolean" pos="13:14"/>
    <init pos="13:15">
      <expr pos="13:17" pos1="13:21">
        <dsgn pos="13:17">
          <node text="True" pos="13:21"/>
        </dsgn>
      </expr>
    </init>
  </var>
  <function pos="15:1">
    <name text="Brutto" pos="15:16"/>
    <parameters pos="15:16">
      <var pos="15:17">
        <ident text="netto" pos="15:22"/>
        <type text="Extended" pos="15:32"/>
      </var>
      <varparams pos="15:34"/>
      <var pos="15:38">
        <ident text="podatek" pos="15:45"/>
        <type text="Extended" pos="15:55"/>
      </var>
      <var pos="15:63">
        <ident text="stawka" pos="15:69"/>
        <type text="Integer" pos="15:78"/>
      </var>
    </parameters>
    <type text="Extended" pos="15:89"/>
    <var pos="17:3">
      <ident text="x" pos="17:4"/>
      <type text="Extended" pos="17:14"/>
    </var>
    <compoundstmt pos="18:1">
      <assignstmt pos="19:3">
        <dsgn pos="19:3">
          <node text="podatek" pos="19:10"/>
        </dsgn>
        <expr pos="19:14" pos1="19:34">
          <dsgn pos="19:14">
            <node text="netto" pos="19:19"/>
          </dsgn>
          <op text="*" pos="19:21"/>
          <dsgn pos="19:22">
            <node text="stawka" pos="19:28"/>
          </dsgn>
          <op text="/" pos="19:30"/>
          <number text="100" pos="19:34"/>
        </expr>
      </assignstmt>
      <assignstmt pos="20:3">
        <dsgn pos="20:3">
          <node text="Result" pos="20:9"/>
        </dsgn>
        <expr pos="20:13" pos1="20:28">
          <dsgn pos="20:13">
            <node text="netto" pos="20:18"/>
          </dsgn>
          <op text="+" pos="20:20"/>
          <dsgn pos="20:21">
            <node text="podatek" pos="20:28"/>
          </dsgn>
        </expr>
      </assignstmt>
    </compoundstmt>
  </function>
  <procedure pos="23:1">
    <name text="Zeruj" pos="23:16"/>
    <compoundstmt pos="24:1">
      <assignstmt pos="25:3">
        <dsgn pos="25:3">
          <node text="suma" pos="25:7"/>
        </dsgn>
        <expr pos="25:11" pos1="25:12">
          <number text="0" pos="25:12"/>
        </expr>
      </assignstmt>
    </compoundstmt>
  </procedure>
  <compoundstmt pos="28:1">
    <callstmt pos="29:3">
      <dsgn pos="29:3">
        <node text="Zeruj" pos="29:8"/>
      </dsgn>
    </callstmt>
    <assignstmt pos="30:3">
      <dsgn pos="30:3">
        <node text="n" pos="30:4"/>
      </dsgn>
      <expr pos="30:8" pos1="30:22">
        <dsgn pos="30:21">
          <node text="Get" pos="30:21"/>
          <expr pos="30:21">
            <string text="'Dane.&#34;Ilosc&#34;'" pos="30:21"/>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
    <forstmt pos="31:3">
      <ident text="i" pos="31:8"/>
      <expr pos="31:12" pos1="31:13">
        <number text="0" pos="31:13"/>
      </expr>
      <expr pos="31:17" pos1="31:18">
        <number text="9" pos="31:18"/>
      </expr>
      <assignstmt pos="32:5">
        <dsgn pos="32:5">
          <node text="pozycje" pos="32:12"/>
          <node text="[" pos="32:13"/>
          <expr pos="32:13" pos1="32:14">
            <dsgn pos="32:13">
              <node text="i" pos="32:14"/>
            </dsgn>
          </expr>
        </dsgn>
        <expr pos="32:19" pos1="32:28">
          <dsgn pos="32:19">
            <node text="i" pos="32:20"/>
          </dsgn>
          <op text="*" pos="32:22"/>
          <number text="1.5e2" pos="32:28"/>
        </expr>
      </assignstmt>
    </forstmt>
    <forstmt pos="33:3">
      <ident text="i" pos="33:8"/>
      <expr pos="33:12" pos1="33:13">
        <number text="9" pos="33:13"/>
      </expr>
      <downto text="downto" pos="33:20"/>
      <expr pos="33:21" pos1="33:22">
        <number text="0" pos="33:22"/>
      </expr>
      <compoundstmt pos="34:3">
        <ifstmt pos="35:5">
          <expr pos="35:8" pos1="35:19">
            <dsgn pos="35:8">
              <node text="i" pos="35:9"/>
            </dsgn>
            <op text="mod" pos="35:13"/>
            <number text="2" pos="35:15"/>
            <op text="=" pos="35:17"/>
            <number text="0" pos="35:19"/>
          </expr>
          <thenstmt pos="35:25">
            <continue pos="35:25"/>
          </thenstmt>
          <elsestmt pos="35:39">
            <assignstmt pos="35:39">
              <dsgn pos="35:39">
                <node text="suma" pos="35:43"/>
              </dsgn>
              <expr pos="35:47" pos1="35:55">
                <dsgn pos="35:47">
                  <node text="suma" pos="35:51"/>
                </dsgn>
                <op text="-" pos="35:53"/>
                <number text="1" pos="35:55"/>
              </expr>
            </assignstmt>
          </elsestmt>
        </ifstmt>
        <assignstmt pos="36:5">
          <dsgn pos="36:5">
            <node text="suma" pos="36:9"/>
          </dsgn>
          <expr pos="36:13" pos1="36:30">
            <dsgn pos="36:13">
              <node text="suma" pos="36:17"/>
            </dsgn>
            <op text="+" pos="36:19"/>
            <dsgn pos="36:20">
              <node text="pozycje" pos="36:27"/>
              <node text="[" pos="36:28"/>
              <expr pos="36:28" pos1="36:29">
                <dsgn pos="36:28">
                  <node text="i" pos="36:29"/>
                </dsgn>
              </expr>
            </dsgn>
          </expr>
        </assignstmt>
        <ifstmt pos="37:5">
          <expr pos="37:8" pos1="37:19">
            <dsgn pos="37:8">
              <node text="suma" pos="37:12"/>
            </dsgn>
            <op text="&#62;" pos="37:14"/>
            <number text="1000" pos="37:19"/>
          </expr>
          <thenstmt pos="37:25">
            <break pos="37:25"/>
          </thenstmt>
        </ifstmt>
      </compoundstmt>
    </forstmt>
    <assignstmt pos="39:3">
      <dsgn pos="39:3">
        <node text="i" pos="39:4"/>
      </dsgn>
      <expr pos="39:8" pos1="39:9">
        <number text="0" pos="39:9"/>
      </expr>
    </assignstmt>
    <whilestmt pos="40:3">
      <expr pos="40:9" pos1="40:27">
        <op text="(" pos="40:10"/>
        <expr pos="40:10" pos1="40:15">
          <dsgn pos="40:10">
            <node text="i" pos="40:11"/>
          </dsgn>
          <op text="&#60;" pos="40:13"/>
          <dsgn pos="40:14">
            <node text="n" pos="40:15"/>
          </dsgn>
        </expr>
        <op text=")" pos="40:16"/>
        <op text="and" pos="40:20"/>
        <op text="not" pos="40:24"/>
        <dsgn pos="40:25">
          <node text="ok" pos="40:27"/>
        </dsgn>
      </expr>
      <assignstmt pos="41:5">
        <dsgn pos="41:5">
          <node text="i" pos="41:6"/>
        </dsgn>
        <expr pos="41:10" pos1="41:15">
          <dsgn pos="41:10">
            <node text="i" pos="41:11"/>
          </dsgn>
          <op text="+" pos="41:13"/>
          <number text="1" pos="41:15"/>
        </expr>
      </assignstmt>
    </whilestmt>
    <repeatstmt pos="42:3">
      <assignstmt pos="43:5">
        <dsgn pos="43:5">
          <node text="i" pos="43:6"/>
        </dsgn>
        <expr pos="43:10" pos1="43:15">
          <dsgn pos="43:10">
            <node text="i" pos="43:11"/>
          </dsgn>
          <op text="-" pos="43:13"/>
          <number text="1" pos="43:15"/>
        </expr>
      </assignstmt>
      <expr pos="44:9" pos1="44:15">
        <dsgn pos="44:9">
          <node text="i" pos="44:10"/>
        </dsgn>
        <op text="&#60;=" pos="44:13"/>
        <number text="0" pos="44:15"/>
      </expr>
    </repeatstmt>
    <casestmt pos="45:3">
      <expr pos="45:8" pos1="45:9">
        <dsgn pos="45:8">
          <node text="n" pos="45:9"/>
        </dsgn>
      </expr>
      <caseselector pos="46:5">
        <set pos="46:5">
          <expr pos="46:5" pos1="46:6">
            <number text="1" pos="46:6"/>
          </expr>
          <expr pos="46:8" pos1="46:9">
            <number text="2" pos="46:9"/>
          </expr>
        </set>
        <assignstmt pos="46:11">
          <dsgn pos="46:11">
            <node text="opis" pos="46:15"/>
          </dsgn>
          <expr pos="46:19" pos1="46:26">
            <string text="'mało'" pos="46:26"/>
          </expr>
        </assignstmt>
      </caseselector>
      <caseselector pos="47:5">
        <set pos="47:5">
          <expr pos="47:5" pos1="47:6">
            <number text="3" pos="47:6"/>
          </expr>
          <range text="." pos="47:7"/>
          <expr pos="47:8" pos1="47:9">
            <number text="5" pos="47:9"/>
          </expr>
        </set>
        <assignstmt pos="47:11">
          <dsgn pos="47:11">
            <node text="opis" pos="47:15"/>
          </dsgn>
          <expr pos="47:19" pos1="47:29">
            <string text="'średnio'" pos="47:29"/>
          </expr>
        </assignstmt>
      </caseselector>
      <assignstmt pos="49:5">
        <dsgn pos="49:5">
          <node text="opis" pos="49:9"/>
        </dsgn>
        <expr pos="49:13" pos1="49:20">
          <string text="'dużo'" pos="49:20"/>
        </expr>
      </assignstmt>
    </casestmt>
    <trystmt pos="51:3">
      <assignstmt pos="52:5">
        <dsgn pos="52:5">
          <node text="suma" pos="52:9"/>
        </dsgn>
        <expr pos="52:13" pos1="52:48">
          <dsgn pos="52:13">
            <node text="suma" pos="52:17"/>
          </dsgn>
          <op text="div" pos="52:21"/>
          <number text="2" pos="52:23"/>
          <op text="shl" pos="52:27"/>
          <number text="1" pos="52:29"/>
          <op text="shr" pos="52:33"/>
          <number text="1" pos="52:35"/>
          <op text="xor" pos="52:39"/>
          <number text="3" pos="52:41"/>
          <op text="or" pos="52:44"/>
          <number text="$FF" pos="52:48"/>
        </expr>
      </assignstmt>
      <exceptstmt pos="54:5">
        <assignstmt pos="54:5">
          <dsgn pos="54:5">
            <node text="opis" pos="54:9"/>
          </dsgn>
          <expr pos="54:13" pos1="54:29">
            <dsgn pos="54:13">
              <node text="ExceptionMessage" pos="54:29"/>
            </dsgn>
          </expr>
        </assignstmt>
      </exceptstmt>
    </trystmt>
    <trystmt pos="56:3">
      <assignstmt pos="57:5">
        <dsgn pos="57:5">
          <node text="ok" pos="57:7"/>
        </dsgn>
        <expr pos="57:11" pos1="57:74">
          <op text="(" pos="57:12"/>
          <expr pos="57:12" pos1="57:18">
            <dsgn pos="57:12">
              <node text="n" pos="57:13"/>
            </dsgn>
            <op text="&#62;=" pos="57:16"/>
            <number text="1" pos="57:18"/>
          </expr>
          <op text=")" pos="57:19"/>
          <op text="and" pos="57:23"/>
          <op text="(" pos="57:25"/>
          <expr pos="57:25" pos1="57:31">
            <dsgn pos="57:25">
              <node text="n" pos="57:26"/>
            </dsgn>
            <op text="&#60;&#62;" pos="57:29"/>
            <number text="7" pos="57:31"/>
          </expr>
          <op text=")" pos="57:32"/>
          <op text="or" pos="57:35"/>
          <op text="(" pos="57:37"/>
          <expr pos="57:37" pos1="57:52">
            <dsgn pos="57:37">
              <node text="opis" pos="57:41"/>
            </dsgn>
            <op text="is" pos="57:44"/>
            <dsgn pos="57:45">
              <node text="TObject" pos="57:52"/>
            </dsgn>
          </expr>
          <op text=")" pos="57:53"/>
          <op text="and" pos="57:57"/>
          <op text="(" pos="57:59"/>
          <expr pos="57:59" pos1="57:73">
            <dsgn pos="57:59">
              <node text="n" pos="57:60"/>
            </dsgn>
            <op text="in" pos="57:63"/>
            <set pos="57:65">
              <expr pos="57:65" pos1="57:66">
                <number text="1" pos="57:66"/>
              </expr>
              <expr pos="57:68" pos1="57:69">
                <number text="3" pos="57:69"/>
              </expr>
              <range text="." pos="57:70"/>
              <expr pos="57:71" pos1="57:72">
                <number text="5" pos="57:72"/>
              </expr>
            </set>
          </expr>
          <op text=")" pos="57:74"/>
        </expr>
      </assignstmt>
      <finallystmt pos="59:5">
        <exit pos="59:5"/>
      </finallystmt>
    </trystmt>
    <with pos="61:3">
      <dsgn pos="61:8">
        <node text="Report" pos="61:14"/>
      </dsgn>
      <dsgn pos="61:16">
        <node text="Engine" pos="61:22"/>
      </dsgn>
      <assignstmt pos="62:5">
        <dsgn pos="62:5">
          <node text="Title" pos="62:10"/>
        </dsgn>
        <expr pos="62:14" pos1="62:32">
          <dsgn pos="62:14">
            <node text="Nazwa" pos="62:19"/>
          </dsgn>
          <op text="+" pos="62:21"/>
          <string text="' '" pos="62:25"/>
          <op text="+" pos="62:27"/>
          <dsgn pos="62:28">
            <node text="opis" pos="62:32"/>
          </dsgn>
        </expr>
      </assignstmt>
    </with>
    <assignstmt pos="63:3">
      <dsgn pos="63:3">
        <node text="pozycje" pos="63:10"/>
        <node text="[" pos="63:11"/>
        <expr pos="63:11" pos1="63:12">
          <number text="0" pos="63:12"/>
        </expr>
      </dsgn>
      <expr pos="63:17" pos1="63:22">
        <op text="unminus" pos="63:18"/>
        <dsgn pos="63:18">
          <node text="suma" pos="63:22"/>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="64:3">
      <dsgn pos="64:3">
        <node text="tabela" pos="64:9"/>
        <node text="[" pos="64:10"/>
        <expr pos="64:10" pos1="64:11">
          <number text="1" pos="64:11"/>
        </expr>
        <expr pos="64:13" pos1="64:14">
          <number text="1" pos="64:14"/>
        </expr>
      </dsgn>
      <expr pos="64:19" pos1="64:51">
        <dsgn pos="64:19">
          <node text="Brutto" pos="64:25"/>
          <expr pos="64:26" pos1="64:30">
            <dsgn pos="64:26">
              <node text="suma" pos="64:30"/>
            </dsgn>
          </expr>
          <expr pos="64:32" pos1="64:39">
            <dsgn pos="64:32">
              <node text="podatek" pos="64:39"/>
            </dsgn>
          </expr>
          <expr pos="64:41" pos1="64:50">
            <dsgn pos="64:41">
              <node text="VatStawka" pos="64:50"/>
            </dsgn>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="65:3">
      <dsgn pos="65:3">
        <node text="opis" pos="65:7"/>
      </dsgn>
      <expr pos="65:11" pos1="65:44">
        <string text="'&#13;&#10;Razem: '" pos="65:26"/>
        <op text="+" pos="65:28"/>
        <string text="'Kontrahent's'" pos="65:44"/>
      </expr>
    </assignstmt>
    <callstmt pos="66:3">
      <dsgn pos="66:3">
        <node text="Engine" pos="66:9"/>
        <node text="Fire" pos="66:14"/>
        <expr pos="66:15" pos1="66:21">
          <dsgn pos="66:15">
            <addr text="@" pos="66:16"/>
            <node text="Zeruj" pos="66:21"/>
          </dsgn>
        </expr>
      </dsgn>
    </callstmt>
  </compoundstmt>
  <types/>
</program>
