<?xml version="1.0"?>
<program>
  <compoundstmt pos="1:1">
    <uses unit="stawki.js">
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
              </var>
            </parameters>
            <compoundstmt pos="5:3">
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
        </compoundstmt>
        <types/>
      </program>
    </uses>
    <var pos="3:5">
      <ident text="i" pos="3:6"/>
    </var>
    <var pos="3:8">
      <ident text="n" pos="3:9"/>
      <init pos="3:10">
        <expr pos="3:12" pos1="3:13">
          <number text="0" pos="3:13"/>
        </expr>
      </init>
    </var>
    <var pos="3:15">
      <ident text="suma" pos="3:19"/>
      <init pos="3:20">
        <expr pos="3:22" pos1="3:25">
          <number text="0.0" pos="3:25"/>
        </expr>
      </init>
    </var>
    <var pos="3:27">
      <ident text="podatek" pos="3:34"/>
    </var>
    <var pos="3:36">
      <ident text="opis" pos="3:40"/>
    </var>
    <var pos="4:5">
      <ident text="pozycje" pos="4:12"/>
      <array pos="4:12">
        <dim pos="4:13">
          <expr pos="4:13" pos1="4:15">
            <number text="10" pos="4:15"/>
          </expr>
        </dim>
      </array>
    </var>
    <var pos="5:5">
      <ident text="ok" pos="5:7"/>
      <init pos="5:8">
        <expr pos="5:10" pos1="5:14">
          <dsgn pos="5:10">
            <node text="true" pos="5:14"/>
          </dsgn>
        </expr>
      </init>
    </var>
    <function pos="7:1">
      <name text="Brutto" pos="7:16"/>
      <parameters pos="7:16">
        <var pos="7:17">
          <ident text="netto" pos="7:22"/>
        </var>
        <var pos="7:24">
          <varparam text="&#38;" pos="7:25"/>
          <ident text="podatek" pos="7:32"/>
        </var>
        <var pos="7:34">
          <ident text="stawka" pos="7:40"/>
        </var>
      </parameters>
      <compoundstmt pos="9:3">
        <assignstmt pos="9:3">
          <dsgn pos="9:3">
            <node text="podatek" pos="9:10"/>
          </dsgn>
          <expr pos="9:13" pos1="9:33">
            <dsgn pos="9:13">
              <node text="netto" pos="9:18"/>
            </dsgn>
            <op text="*" pos="9:20"/>
            <dsgn pos="9:21">
              <node text="stawka" pos="9:27"/>
            </dsgn>
            <op text="/" pos="9:29"/>
            <number text="100" pos="9:33"/>
          </expr>
        </assignstmt>
        <return pos="10:3">
          <expr pos="10:10" pos1="10:25">
            <dsgn pos="10:10">
              <node text="netto" pos="10:15"/>
            </dsgn>
            <op text="+" pos="10:17"/>
            <dsgn pos="10:18">
              <node text="podatek" pos="10:25"/>
            </dsgn>
          </expr>
        </return>
      </compoundstmt>
    </function>
    <function pos="13:1">
      <name text="Zeruj" pos="13:15"/>
      <parameters pos="13:15"/>
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
    </function>
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
    <cppforstmt pos="20:1">
      <assignstmt pos="20:6">
        <dsgn pos="20:6">
          <node text="i" pos="20:7"/>
        </dsgn>
        <expr pos="20:10" pos1="20:11">
          <number text="0" pos="20:11"/>
        </expr>
      </assignstmt>
      <expr pos="20:13" pos1="20:19">
        <dsgn pos="20:13">
          <node text="i" pos="20:14"/>
        </dsgn>
        <op text="&#60;" pos="20:16"/>
        <number text="10" pos="20:19"/>
      </expr>
      <callstmt pos="20:21">
        <dsgn pos="20:21">
          <node text="i" pos="20:22"/>
        </dsgn>
        <modificator text="+" pos="20:24"/>
      </callstmt>
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
    </cppforstmt>
    <cppforstmt pos="22:1">
      <assignstmt pos="22:6">
        <dsgn pos="22:6">
          <node text="i" pos="22:7"/>
        </dsgn>
        <expr pos="22:10" pos1="22:11">
          <number text="9" pos="22:11"/>
        </expr>
      </assignstmt>
      <expr pos="22:13" pos1="22:19">
        <dsgn pos="22:13">
          <node text="i" pos="22:14"/>
        </dsgn>
        <op text="&#62;=" pos="22:17"/>
        <number text="0" pos="22:19"/>
      </expr>
      <callstmt pos="22:21">
        <dsgn pos="22:21">
          <node text="i" pos="22:22"/>
        </dsgn>
        <modificator text="-" pos="22:24"/>
      </callstmt>
      <compoundstmt pos="24:3">
        <ifstmt pos="24:3">
          <expr pos="24:7" pos1="24:17">
            <dsgn pos="24:7">
              <node text="i" pos="24:8"/>
            </dsgn>
            <op text="mod" pos="24:10"/>
            <number text="2" pos="24:12"/>
            <op text="=" pos="24:15"/>
            <number text="0" pos="24:17"/>
          </expr>
          <thenstmt pos="24:19">
            <continue pos="24:19"/>
          </thenstmt>
          <elsestmt pos="24:34">
            <assignstmt pos="24:34">
              <dsgn pos="24:34">
                <node text="suma" pos="24:38"/>
              </dsgn>
              <expr pos="24:41" pos1="24:49">
                <dsgn pos="24:41">
                  <node text="suma" pos="24:45"/>
                </dsgn>
                <op text="-" pos="24:47"/>
                <number text="1" pos="24:49"/>
              </expr>
            </assignstmt>
          </elsestmt>
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
          <expr pos="26:7" pos1="26:18">
            <dsgn pos="26:7">
              <node text="suma" pos="26:11"/>
            </dsgn>
            <op text="&#62;" pos="26:13"/>
            <number text="1000" pos="26:18"/>
          </expr>
          <thenstmt pos="26:20">
            <break pos="26:20"/>
          </thenstmt>
        </ifstmt>
      </compoundstmt>
    </cppforstmt>
    <assignstmt pos="28:1">
      <dsgn pos="28:1">
        <node text="i" pos="28:2"/>
      </dsgn>
      <expr pos="28:5" pos1="28:6">
        <number text="0" pos="28:6"/>
      </expr>
    </assignstmt>
    <whilestmt pos="29:1">
      <expr pos="29:8" pos1="29:22">
        <op text="(" pos="29:9"/>
        <expr pos="29:9" pos1="29:14">
          <dsgn pos="29:9">
            <node text="i" pos="29:10"/>
          </dsgn>
          <op text="&#60;" pos="29:12"/>
          <dsgn pos="29:13">
            <node text="n" pos="29:14"/>
          </dsgn>
        </expr>
        <op text=")" pos="29:15"/>
        <op text="and" pos="29:18"/>
        <op text="not" pos="29:20"/>
        <dsgn pos="29:20">
          <node text="ok" pos="29:22"/>
        </dsgn>
      </expr>
      <callstmt pos="30:3">
        <dsgn pos="30:3">
          <node text="i" pos="30:4"/>
        </dsgn>
        <modificator text="+" pos="30:6"/>
      </callstmt>
    </whilestmt>
    <repeatstmt pos="31:1">
      <compoundstmt pos="33:3">
        <assignstmt pos="33:3">
          <dsgn pos="33:3">
            <node text="i" pos="33:4"/>
          </dsgn>
          <modificator text="-" pos="33:6"/>
          <expr pos="33:8" pos1="33:9">
            <number text="1" pos="33:9"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="34:10" pos1="34:27">
        <dsgn pos="34:10">
          <node text="i" pos="34:11"/>
        </dsgn>
        <op text="&#62;" pos="34:13"/>
        <number text="0" pos="34:15"/>
        <op text="and" pos="34:18"/>
        <dsgn pos="34:19">
          <node text="i" pos="34:20"/>
        </dsgn>
        <op text="&#60;=" pos="34:23"/>
        <number text="100" pos="34:27"/>
      </expr>
      <inverse text="" pos="34:27"/>
    </repeatstmt>
    <casestmt pos="35:1">
      <expr pos="35:9" pos1="35:10">
        <dsgn pos="35:9">
          <node text="n" pos="35:10"/>
        </dsgn>
      </expr>
      <caseselector pos="37:3">
        <set pos="37:8">
          <expr pos="37:8" pos1="37:9">
            <number text="1" pos="37:9"/>
          </expr>
          <expr pos="37:11" pos1="37:12">
            <number text="2" pos="37:12"/>
          </expr>
        </set>
        <assignstmt pos="37:14">
          <dsgn pos="37:14">
            <node text="opis" pos="37:18"/>
          </dsgn>
          <expr pos="37:21" pos1="37:28">
            <string text="'mało'" pos="37:28"/>
          </expr>
        </assignstmt>
      </caseselector>
      <caseselector pos="38:3">
        <set pos="38:8">
          <expr pos="38:8" pos1="38:9">
            <number text="3" pos="38:9"/>
          </expr>
          <range text="." pos="38:11"/>
          <expr pos="38:11" pos1="38:12">
            <number text="5" pos="38:12"/>
          </expr>
        </set>
        <assignstmt pos="38:14">
          <dsgn pos="38:14">
            <node text="opis" pos="38:18"/>
          </dsgn>
          <expr pos="38:21" pos1="38:31">
            <string text="'średnio'" pos="38:31"/>
          </expr>
        </assignstmt>
      </caseselector>
      <assignstmt pos="39:12">
        <dsgn pos="39:12">
          <node text="opis" pos="39:16"/>
        </dsgn>
        <expr pos="39:19" pos1="39:26">
          <string text="'dużo'" pos="39:26"/>
        </expr>
      </assignstmt>
    </casestmt>
    <trystmt pos="41:1">
      <compoundstmt pos="43:3">
        <assignstmt pos="43:3">
          <dsgn pos="43:3">
            <node text="suma" pos="43:7"/>
          </dsgn>
          <expr pos="43:10" pos1="43:42">
            <dsgn pos="43:10">
              <node text="suma" pos="43:14"/>
            </dsgn>
            <op text="div" pos="43:18"/>
            <number text="2" pos="43:20"/>
            <op text="shl" pos="43:23"/>
            <number text="1" pos="43:25"/>
            <op text="shr" pos="43:28"/>
            <number text="1" pos="43:30"/>
            <op text="xor" pos="43:32"/>
            <number text="3" pos="43:34"/>
            <op text="or" pos="43:37"/>
            <number text="$FF" pos="43:42"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <exceptstmt pos="46:1">
        <compoundstmt pos="47:3">
          <assignstmt pos="47:3">
            <dsgn pos="47:3">
              <node text="opis" pos="47:7"/>
            </dsgn>
            <expr pos="47:10" pos1="47:26">
              <dsgn pos="47:10">
                <node text="ExceptionMessage" pos="47:26"/>
              </dsgn>
            </expr>
          </assignstmt>
        </compoundstmt>
      </exceptstmt>
    </trystmt>
    <trystmt pos="49:1">
      <compoundstmt pos="51:3">
        <assignstmt pos="51:3">
          <dsgn pos="51:3">
            <node text="ok" pos="51:5"/>
          </dsgn>
          <expr pos="51:8" pos1="51:69">
            <op text="(" pos="51:9"/>
            <expr pos="51:9" pos1="51:15">
              <dsgn pos="51:9">
                <node text="n" pos="51:10"/>
              </dsgn>
              <op text="&#62;=" pos="51:13"/>
              <number text="1" pos="51:15"/>
            </expr>
            <op text=")" pos="51:16"/>
            <op text="and" pos="51:19"/>
            <op text="(" pos="51:21"/>
            <expr pos="51:21" pos1="51:27">
              <dsgn pos="51:21">
                <node text="n" pos="51:22"/>
              </dsgn>
              <op text="&#60;&#62;" pos="51:25"/>
              <number text="7" pos="51:27"/>
            </expr>
            <op text=")" pos="51:28"/>
            <op text="or" pos="51:31"/>
            <op text="(" pos="51:33"/>
            <expr pos="51:33" pos1="51:48">
              <dsgn pos="51:33">
                <node text="opis" pos="51:37"/>
              </dsgn>
              <op text="is" pos="51:40"/>
              <dsgn pos="51:41">
                <node text="TObject" pos="51:48"/>
              </dsgn>
            </expr>
            <op text=")" pos="51:49"/>
            <op text="and" pos="51:52"/>
            <op text="(" pos="51:54"/>
            <expr pos="51:54" pos1="51:68">
              <dsgn pos="51:54">
                <node text="n" pos="51:55"/>
              </dsgn>
              <op text="in" pos="51:58"/>
              <set pos="51:60">
                <expr pos="51:60" pos1="51:61">
                  <number text="1" pos="51:61"/>
                </expr>
                <expr pos="51:63" pos1="51:64">
                  <number text="3" pos="51:64"/>
                </expr>
                <range text="." pos="51:66"/>
                <expr pos="51:66" pos1="51:67">
                  <number text="5" pos="51:67"/>
                </expr>
              </set>
            </expr>
            <op text=")" pos="51:69"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <finallystmt pos="54:1">
        <compoundstmt pos="55:3">
          <return pos="55:3"/>
        </compoundstmt>
      </finallystmt>
    </trystmt>
    <with pos="57:1">
      <dsgn pos="57:7">
        <node text="Report" pos="57:13"/>
      </dsgn>
      <assignstmt pos="58:3">
        <dsgn pos="58:3">
          <node text="Title" pos="58:8"/>
        </dsgn>
        <expr pos="58:11" pos1="58:37">
          <string text="'Faktura VAT'" pos="58:24"/>
          <op text="+" pos="58:26"/>
          <string text="' '" pos="58:30"/>
          <op text="+" pos="58:32"/>
          <dsgn pos="58:33">
            <node text="opis" pos="58:37"/>
          </dsgn>
        </expr>
      </assignstmt>
    </with>
    <assignstmt pos="59:1">
      <dsgn pos="59:1">
        <node text="pozycje" pos="59:8"/>
        <node text="[" pos="59:9"/>
        <expr pos="59:9" pos1="59:10">
          <number text="0" pos="59:10"/>
        </expr>
      </dsgn>
      <expr pos="59:14" pos1="59:19">
        <op text="unminus" pos="59:15"/>
        <dsgn pos="59:15">
          <node text="suma" pos="59:19"/>
        </dsgn>
      </expr>
    </assignstmt>
    <assignstmt pos="60:1">
      <dsgn pos="60:1">
        <node text="suma" pos="60:5"/>
      </dsgn>
      <modificator text="*" pos="60:7"/>
      <expr pos="60:9" pos1="60:10">
        <number text="2" pos="60:10"/>
      </expr>
    </assignstmt>
    <assignstmt pos="61:1">
      <dsgn pos="61:1">
        <node text="suma" pos="61:5"/>
      </dsgn>
      <modificator text="/" pos="61:7"/>
      <expr pos="61:9" pos1="61:10">
        <number text="4" pos="61:10"/>
      </expr>
    </assignstmt>
    <assignstmt pos="62:1">
      <dsgn pos="62:1">
        <node text="opis" pos="62:5"/>
      </dsgn>
      <expr pos="62:8" pos1="62:27">
        <string text="'&#13;&#10;Razem: A&#34;'" pos="62:27"/>
      </expr>
    </assignstmt>
    <delete pos="63:1">
      <dsgn pos="63:8">
        <node text="obj" pos="63:11"/>
      </dsgn>
    </delete>
    <assignstmt pos="64:1">
      <dsgn pos="64:1">
        <node text="obj" pos="64:4"/>
      </dsgn>
      <expr pos="64:7" pos1="64:20">
        <new pos="64:7">
          <dsgn pos="64:11">
            <node text="TObject" pos="64:18"/>
          </dsgn>
        </new>
      </expr>
    </assignstmt>
    <callstmt pos="65:1">
      <dsgn pos="65:1">
        <node text="Engine" pos="65:7"/>
        <node text="Fire" pos="65:12"/>
        <expr pos="65:13" pos1="65:19">
          <dsgn pos="65:13">
            <addr text="&#38;" pos="65:14"/>
            <node text="Zeruj" pos="65:19"/>
          </dsgn>
        </expr>
      </dsgn>
    </callstmt>
  </compoundstmt>
  <types/>
</program>
